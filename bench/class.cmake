# The class view: figures, sounds and (with the GUI) the view's first paint.
if(KELTO4_GUI)
  add_executable(bench_class ${CMAKE_CURRENT_SOURCE_DIR}/bench_class.cpp ${CMAKE_CURRENT_SOURCE_DIR}/QtBenchMain.cpp)
  target_include_directories(bench_class PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(bench_class PRIVATE kelto4app benchmark::benchmark)
  target_compile_definitions(bench_class PRIVATE KELTO4_BENCH_GUI)
else()
  kelto4_add_bench(NAME bench_class SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_class.cpp
    LIBS kelto4reports kelto4sound)
endif()
target_compile_definitions(bench_class PRIVATE KELTO4_BANK_FILE="${KELTO4_BUILD_BANKS}/word-banks.txt")
add_dependencies(bench_class kelto4-banks)
