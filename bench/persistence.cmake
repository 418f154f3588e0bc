# Continuous acquisition with persistence dots against the unpaced simulator.
scope_bench(bench_persistence SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_persistence.cpp LIBS scope_window)
add_dependencies(bench_persistence tessaron-sim)
