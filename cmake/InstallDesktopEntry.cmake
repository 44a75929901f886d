# Runs at install time: writes the desktop entry with the installed program's
# path (the prefix is known only now) and, for an install in place, brings the
# desktop's caches of file types and programs up to date.
set(QUENZARIO_EXEC "${CMAKE_INSTALL_PREFIX}/bin/quenzario")
# A path with blanks or the characters the Exec key reserves is quoted.
if(QUENZARIO_EXEC MATCHES "[ \t\"'\\\\$`<>~|&;*?#()]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" QUENZARIO_EXEC "${QUENZARIO_EXEC}")
  set(QUENZARIO_EXEC "\"${QUENZARIO_EXEC}\"")
endif()
configure_file("${QUENZA_DESKTOP_TEMPLATE}" "${QUENZA_DESKTOP_STAGING}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${QUENZA_DESKTOP_STAGING}")

if("$ENV{DESTDIR}" STREQUAL "")
  find_program(QUENZA_UPDATE_MIME update-mime-database)
  find_program(QUENZA_UPDATE_DESKTOP update-desktop-database)
  if(QUENZA_UPDATE_MIME)
    execute_process(COMMAND "${QUENZA_UPDATE_MIME}" "${CMAKE_INSTALL_PREFIX}/share/mime")
  endif()
  if(QUENZA_UPDATE_DESKTOP)
    execute_process(COMMAND "${QUENZA_UPDATE_DESKTOP}" -q "${CMAKE_INSTALL_PREFIX}/share/applications")
  endif()
endif()
