# A reply received at 9600 baud from the paced built-in simulator by the link
# alone: processor time while receiving, progress signals a second, when
# CH1's visible part is in.
scope_bench(bench_arrival SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_arrival.cpp LIBS scope_core)
# The same reply drawn as it arrives on the window: when CH1's visible part
# is drawn, plot paints a second, processor time.
scope_bench(bench_arriving_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_arriving_window.cpp LIBS scope_window)
