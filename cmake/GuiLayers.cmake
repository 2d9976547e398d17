# The GUI in layers, each its own static library, each including only the
# layers below it:
#   vorlane_gui_base (src/gui)   services, hosted and wizard page bases, small widgets
#   vorlane_wizard (src/wizard), vorlane_generate_ui (src/generate_ui),
#   vorlane_sheet (src/sheet)    the pages and the design sheet, side by side
#   vorlane_gui (src/app)        the shell: program object, host window, menu, flows
# Includes name their folder ("gui/Session.h"). Every layer gets an include root
# of its own that holds only its folder, and a target sees only its own root and
# those of the layers it links: an include that runs upward or sideways finds no
# file and the build fails.
function(vorlane_layer_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/layer_roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
