kelto4_add_bench(NAME bench_lists SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_lists.cpp LIBS kelto4words)
target_compile_definitions(bench_lists PRIVATE KELTO4_BANK_FILE="${KELTO4_BUILD_BANKS}/word-banks.txt")
add_dependencies(bench_lists kelto4-banks)
