# Installation and the Debian package. `cmake --install` lays out the programs
# in bin/ and, under share/, the desktop entry, icons, AppStream metadata, the
# MIME type of design files, manual pages, examples and the package's own
# documents; `cpack -G DEB` packs the same tree. The data lives in packaging/.
include(GNUInstallDirs)

set(VORLANE_APP_ID org.vorlane.Vorlane)
set(VORLANE_RELEASE_DATE 2026-12-07)
set(VORLANE_HOMEPAGE "https://vorlane.org" CACHE STRING "Home page named by the package and its metadata")
set(VORLANE_MAINTAINER "Vorlane maintainers <maintainers@vorlane.org>" CACHE STRING "Maintainer of the package")
set(pkg ${CMAKE_SOURCE_DIR}/packaging)
set(gen ${CMAKE_BINARY_DIR}/packaging)

# Files and folders a package may not make group-writable, whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

foreach(program vorlane vorlane-gen vorlane-calc)
  if(TARGET ${program})
    target_compile_definitions(${program} PRIVATE VORLANE_VERSION="${PROJECT_VERSION}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The manual pages and the changelog go in compressed, without time stamps.
configure_file(${pkg}/org.vorlane.Vorlane.metainfo.xml.in ${gen}/${VORLANE_APP_ID}.metainfo.xml @ONLY)
set(compressed)
foreach(page vorlane vorlane-gen vorlane-calc)
  configure_file(${pkg}/man/${page}.1.in ${gen}/${page}.1 @ONLY)
  list(APPEND compressed ${page}.1)
endforeach()
configure_file(${pkg}/debian/changelog ${gen}/changelog COPYONLY)
list(APPEND compressed changelog)
set(compressed_outputs)
foreach(name ${compressed})
  add_custom_command(OUTPUT ${gen}/${name}.gz
    COMMAND gzip -9nkf ${name}
    DEPENDS ${gen}/${name}
    WORKING_DIRECTORY ${gen}
    VERBATIM)
  list(APPEND compressed_outputs ${gen}/${name}.gz)
endforeach()
add_custom_target(vorlane_packaging_data ALL DEPENDS ${compressed_outputs})

if(TARGET vorlane)
  install(FILES ${pkg}/${VORLANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${gen}/${VORLANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${pkg}/${VORLANE_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME ${VORLANE_APP_ID}.xml)
  install(FILES ${pkg}/icons/${VORLANE_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${pkg}/icons/hicolor/${size}x${size}/${VORLANE_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
foreach(page vorlane vorlane-gen vorlane-calc)
  if(TARGET ${page})
    install(FILES ${gen}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
install(FILES ${pkg}/debian/copyright ${gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(example mine-grid seeking-torpedo)
  install(FILES ${CMAKE_SOURCE_DIR}/examples/${example}.vorlane.json DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endforeach()

# The package: its dependencies come from the binaries (dpkg-shlibdeps); only
# the window-system plugins, which Qt loads at run time, are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VORLANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wizard that generates SEIV component and facility entries")
set(CPACK_PACKAGE_DESCRIPTION
  "Vorlane helps people who write mods for the space-strategy game SEIV. It asks
once for each attribute of a ship component or a planetary facility, as a
formula in which variables such as the current level may appear, and generates
every level's entry in the game's data-file layout, ready to be copied into the
game's files.
.
The package holds the program vorlane and the command-line tools vorlane-gen,
which generates the entries of a saved design, and vorlane-calc, which
evaluates expressions with the same evaluator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VORLANE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)

# The installed tree and the Debian package, checked by ./test: needs all three
# programs, built as they ship (a sanitizer build would only make the package slow
# to check). The Windows packages are checked by ./windows instead.
if(WIN32)
elseif(VORLANE_BUILD_TESTS AND NOT VORLANE_SANITIZE AND TARGET vorlane AND TARGET vorlane-gen AND TARGET vorlane-calc)
  add_test(NAME packaging COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/install_test.sh
                                  ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(packaging PROPERTIES TIMEOUT 600)
elseif(VORLANE_BUILD_TESTS AND NOT VORLANE_SANITIZE)
  message(STATUS "No packaging test: it needs the program and both tools (VORLANE_BUILD_GUI, VORLANE_BUILD_TOOLS)")
endif()
