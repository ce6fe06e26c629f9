kelto4_add_bench(NAME bench_speech SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_speech.cpp LIBS kelto4sound)
