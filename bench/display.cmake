# One frame of the screen from a held record.
scope_bench(bench_plot SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_plot.cpp LIBS scope_window)
