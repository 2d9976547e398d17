# The Windows build's own pieces: the resources of the programs (the UTF-8
# manifest, the icon) and the plugins a static Qt needs linked in.
set(VORLANE_WINDOWS_DIR ${CMAKE_SOURCE_DIR}/packaging/windows)

# vorlane_windows_resources(TARGET RC-FILE): RC-FILE from packaging/windows.
function(vorlane_windows_resources target rc)
  target_sources(${target} PRIVATE ${VORLANE_WINDOWS_DIR}/${rc})
  set_property(SOURCE ${VORLANE_WINDOWS_DIR}/${rc} APPEND PROPERTY OBJECT_DEPENDS
    ${VORLANE_WINDOWS_DIR}/utf8.manifest ${VORLANE_WINDOWS_DIR}/vorlane.ico)
endfunction()

# A static Qt links its plugins into each program: the Windows platform and,
# for the tests and for QT_QPA_PLATFORM=offscreen, the offscreen one.
function(vorlane_import_qt_plugins target)
  get_target_property(type Qt6::Core TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    qt_import_plugins(${target} INCLUDE Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
  endif()
endfunction()
