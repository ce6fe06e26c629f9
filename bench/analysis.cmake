kelto4_add_bench(NAME bench_analysis SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_analysis.cpp LIBS kelto4spelling kelto4sound)
