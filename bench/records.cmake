# The record history: what a thousand held records cost in resident memory,
# adding a record to a full history, and saving and opening a history file.
scope_bench(bench_records SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_records.cpp LIBS scope_core)
