# Manual pages, the package's own documents and the Debian package (scripts/package).

# Manual pages and the Debian changelog go in compressed, the way Debian wants them
# (gzip -9, no name or time stamp inside, so a rebuild gives the same bytes).
find_program(KELTO4_GZIP gzip REQUIRED)
set(gzipped "")
foreach(source docs/man/kelto4.1 docs/man/kelto4-tool.1 res/debian/changelog)
  get_filename_component(name ${source} NAME)
  if(name STREQUAL "changelog")
    set(name changelog.Debian)
  endif()
  set(out ${PROJECT_BINARY_DIR}/gz/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${PROJECT_BINARY_DIR}/gz/${name}
    COMMAND ${KELTO4_GZIP} -9nf ${PROJECT_BINARY_DIR}/gz/${name}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND gzipped ${out})
endforeach()
add_custom_target(kelto4-gz ALL DEPENDS ${gzipped})

install(FILES ${PROJECT_BINARY_DIR}/gz/kelto4-tool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/copyright ${PROJECT_BINARY_DIR}/gz/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/keltora)
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME keltora)
if(KELTO4_GUI)
  install(FILES ${PROJECT_BINARY_DIR}/gz/kelto4.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The package takes what is built; scripts/package builds it first, so packing (and the
# package test) need not walk every target of the tree again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keltora)
set(CPACK_PACKAGE_VENDOR Tarvel)
set(CPACK_PACKAGE_CONTACT "Tarvel <keltora@tarvel.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "practise spelling tests with spoken word lists")
set(CPACK_PACKAGE_DESCRIPTION
  "Keltora helps children practise for their spelling tests. A teacher or parent
types a spelling list and records each word through the microphone. The learner
hears each word, types it and is told at once whether it is right. Results and
misspelled words are kept for every learner, and the reports name the English
spelling rules each misspelling breaks. A sample list comes with the program.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://keltora.tarvel.net/)
# Dependencies come from the shared libraries the programs use.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help opens the user guide in the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
