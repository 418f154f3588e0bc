# The run/stop cycle end to end against a tessaron-sim process: captures per
# second in continuous mode, and the processor time an unanswered wait costs.
scope_bench(bench_capture SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_capture.cpp LIBS scope_window)
add_dependencies(bench_capture tessaron-sim)

# Processor time over 30 s of each state: idle connected, a normal-mode wait,
# receiving at 9600 baud, continuous against the built-in "SIM1".
scope_bench(bench_cpu SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_cpu.cpp LIBS scope_window)
add_dependencies(bench_cpu tessaron-sim)

# The soak (an hour by default; not run by `make bench`, whose programs are
# bench_*): memory sampled every minute during continuous acquisition.
add_executable(soak_scope ${CMAKE_CURRENT_LIST_DIR}/soak_scope.cpp)
target_link_libraries(soak_scope PRIVATE scope_window Qt6::Test)
target_include_directories(soak_scope PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
add_dependencies(soak_scope tessaron-sim)
