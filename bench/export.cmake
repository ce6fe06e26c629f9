kelto4_add_bench(NAME bench_export
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_export.cpp ${CMAKE_SOURCE_DIR}/src/tool/ToolExport.cpp
  LIBS kelto4spelling)
