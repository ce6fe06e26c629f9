kelto4_add_bench(NAME bench_review SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_review.cpp LIBS kelto4model)
