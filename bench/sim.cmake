# Captures per second through the real pseudo-terminal between TSerial and the
# built-in simulated instrument, unpaced.
scope_bench(bench_link SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_link.cpp
  LIBS scope_serial scope_acquisition)
