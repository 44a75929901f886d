# Warnings for the project's own targets (not for generated Qt code).
function(quenza_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
  if(QUENZA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
