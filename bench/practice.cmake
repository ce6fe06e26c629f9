kelto4_add_bench(NAME bench_practice SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_practice.cpp LIBS kelto4reports)
