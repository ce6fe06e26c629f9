kelto4_add_bench(NAME bench_sound SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_sound.cpp LIBS kelto4sound)
