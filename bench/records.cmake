kelto4_add_bench(NAME bench_records SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_records.cpp LIBS kelto4model)
# The benchmark counts allocations with its own operator new over malloc.
target_compile_options(bench_records PRIVATE -Wno-mismatched-new-delete)
