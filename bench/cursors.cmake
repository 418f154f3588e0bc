# A frame with both cursor sets and snap, and the moves of a cursor drag.
scope_bench(bench_cursors SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_cursors.cpp LIBS scope_window)
