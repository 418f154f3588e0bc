# The run/stop cycle end to end against a tessaron-sim process: captures per
# second in continuous mode, and the processor time an unanswered wait costs.
scope_bench(bench_capture SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_capture.cpp LIBS scope_window)
add_dependencies(bench_capture tessaron-sim)
# The window fixture and the simulator process are shared with the tests.
target_include_directories(bench_capture PRIVATE ${CMAKE_SOURCE_DIR}/tests)
