# Warnings for the project's own targets (not for generated Qt code).
function(quenza_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
  # GCC 12's optimiser reports std::vector inserts of short lists as out of
  # bounds (a known false positive of its libstdc++); other compilers keep them.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread -Wno-restrict>)
  endif()
  if(QUENZA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
