kelto4_add_bench(NAME bench_export
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_export.cpp ${CMAKE_SOURCE_DIR}/src/tool/ToolExport.cpp
    ${CMAKE_SOURCE_DIR}/src/tool/ToolSounds.cpp ${CMAKE_SOURCE_DIR}/src/tool/ToolPairs.cpp
  LIBS kelto4spelling kelto4sound kelto4platform kelto4document)
