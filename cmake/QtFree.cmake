# The platform, emulator and core libraries must not depend on Qt. Every build
# checks their sources for Qt includes and their link interface for Qt targets.
set(QUENZA_QT_FREE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckQtFree.cmake)

function(quenza_qt_free target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.qtfree.stamp)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.qtfree.sources)
  file(WRITE ${list_file} "${sources}")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSTAMP=${stamp} -DTARGET=${target} -DSOURCE_DIR=${source_dir}
            -DSOURCE_LIST=${list_file} -P ${QUENZA_QT_FREE_SCRIPT}
    DEPENDS ${sources} ${QUENZA_QT_FREE_SCRIPT}
    COMMENT "Checking that ${target} is free of Qt")
  add_custom_target(${target}_qtfree DEPENDS ${stamp})
  add_dependencies(${target} ${target}_qtfree)
  # Checked again once every target is known, so later links are caught too.
  # (Deferred arguments are expanded when the call runs, hence the EVAL.)
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL quenza_check_qt_free_links [[${target}]])")
endfunction()

function(quenza_check_qt_free_links target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib MATCHES "Qt[56]?::|Qt[56]?[A-Z]")
      message(FATAL_ERROR "${target} must not link Qt (links ${lib})")
    endif()
  endforeach()
endfunction()
