# The automatic measurements: the arithmetic over the widest window, and the
# whole step on the window after a frame.
scope_bench(bench_measure SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_measure.cpp LIBS scope_window)
