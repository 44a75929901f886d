# What a layer may depend on, checked by every build:
#  - scsi, platform, emu and core must not include or link Qt (rule "qt");
#  - every folder of src/ is a layer (Layers.cmake), checked when configuring
#    and again by the includes check (an include that reaches a folder of
#    src/ in no layer fails);
#  - no layer includes upwards or across (rule "layers", the table is in
#    CheckIncludes.cmake): scsi includes nothing of ours, platform not core
#    or gui (and emu only in its sources, the emulated pass-through backend),
#    emu only scsi, core not gui or emu, core/base not the rest of core;
#    relative includes are resolved and checked too;
#  - core and gui must not link the emulated drive: they reach it only
#    through platform's emulated pass-through backend;
#  - no file of gui outside gui/app reaches the main window's class
#    (gui/app/QuenzaDlg.h) through any chain of includes (rule "pages").
# The sources are checked at build time, the link interfaces once the
# configuration is complete.
set(QUENZA_CHECK_INCLUDES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckIncludes.cmake)
set(QUENZA_LAYERS_FILE ${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)
include(${QUENZA_LAYERS_FILE})

# A new folder of src/ reconfigures (CONFIGURE_DEPENDS) and fails here.
file(GLOB src_entries CONFIGURE_DEPENDS LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/src/*)
quenza_check_layer_folders(${PROJECT_SOURCE_DIR}/src)

function(quenza_layer_rule target rule)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.${rule}.stamp)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.${rule}.sources)
  file(WRITE ${list_file} "${sources}")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSTAMP=${stamp} -DTARGET=${target} -DRULE=${rule} -DSOURCE_DIR=${source_dir}
            -DSRC_ROOT=${PROJECT_SOURCE_DIR}/src -DSOURCE_LIST=${list_file} -P ${QUENZA_CHECK_INCLUDES_SCRIPT}
    DEPENDS ${sources} ${QUENZA_CHECK_INCLUDES_SCRIPT} ${QUENZA_LAYERS_FILE}
    COMMENT "Checking the includes of ${target} (${rule})")
  add_custom_target(${target}_${rule}_check DEPENDS ${stamp})
  add_dependencies(${target} ${target}_${rule}_check)
  # Checked again once every target is known, so later links are caught too.
  # (Deferred arguments are expanded when the call runs, hence the EVAL.)
  if(COMMAND quenza_check_${rule}_links)
    cmake_language(EVAL CODE
      "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL quenza_check_${rule}_links [[${target}]])")
  endif()
endfunction()

function(quenza_qt_free target)
  quenza_layer_rule(${target} qt)
endfunction()

# The include bounds of the target's layer (once per target).
function(quenza_layer_bounds target)
  get_target_property(checked ${target} QUENZA_LAYER_BOUNDS)
  if(NOT checked)
    set_target_properties(${target} PROPERTIES QUENZA_LAYER_BOUNDS ON)
    quenza_layer_rule(${target} layers)
  endif()
endfunction()

# The target's layer bounds, and no link of the emulated drive.
function(quenza_no_emu target)
  quenza_layer_bounds(${target})
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL quenza_check_emu_links [[${target}]])")
endfunction()

# Pages, tools, graphs and controls (gui outside gui/app) never reach the
# main window's class, directly or through other headers: they reach the
# window through its PageHost (rule "pages").
function(quenza_pages_behind_host target)
  quenza_layer_rule(${target} pages)
endfunction()

function(quenza_check_qt_links target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib MATCHES "Qt[56]?::|Qt[56]?[A-Z]")
      message(FATAL_ERROR "${target} must not link Qt (links ${lib})")
    endif()
  endforeach()
endfunction()

# The emulator must not reach the target directly nor through the usage
# requirements of what it links; a private link of a static library below
# ($<LINK_ONLY:...>) only adds the archive to the final link.
function(quenza_check_emu_links target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  set(pending "")
  foreach(lib IN LISTS libs ilibs)
    if(lib)
      list(APPEND pending ${lib})
    endif()
  endforeach()
  set(seen "")
  list(LENGTH pending count)
  while(count GREATER 0)
    list(POP_FRONT pending lib)
    if(lib STREQUAL "quenza_emu")
      message(FATAL_ERROR "${target} must not link quenza_emu (the emulated drive is platform's business)")
    endif()
    if(TARGET "${lib}" AND NOT lib IN_LIST seen)
      list(APPEND seen ${lib})
      get_target_property(more ${lib} INTERFACE_LINK_LIBRARIES)
      foreach(next IN LISTS more)
        if(next)
          list(APPEND pending ${next})
        endif()
      endforeach()
    endif()
    list(LENGTH pending count)
  endwhile()
endfunction()
