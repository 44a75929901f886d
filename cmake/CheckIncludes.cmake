# cmake -P script: fails when a source or header of TARGET includes what its
# layer must not. RULE is "qt" (Qt headers) or "layers" (the layers of src/).
#
# "layers": each include is resolved as the compiler finds it (a quoted one
# beside the including file first, then from src/), so a relative include
# ("../../emu/...") is caught as well as one from src/. Paths with "../" are
# refused in any case: includes name their file from src/. A file's layer is
# its folder under src/ (core/base for core/base):
#   scsi      includes nothing of ours but scsi
#   platform  scsi; emu only in sources (the emulated pass-through backend)
#   emu       scsi
#   core      scsi, platform
#   core/base scsi, platform, core/base (not the rest of core)
#   gui       scsi, platform, core
cmake_minimum_required(VERSION 3.25)  # policies of a script run with -P
set(pattern_qt "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|qt[A-Za-z0-9_/]*|Qt[A-Za-z]+/)")
set(reason_qt "must stay free of Qt")
set(include_line "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
if(NOT RULE STREQUAL "qt" AND NOT RULE STREQUAL "layers")
  message(FATAL_ERROR "unknown include rule '${RULE}'")
endif()

file(READ ${SOURCE_LIST} SOURCES)
file(GLOB_RECURSE headers ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.hpp)
set(files ${SOURCES} ${headers})
set(failures "")

# The layer of a path below src/ ("core/base", "core", "emu" ...), or "" for
# anything else.
function(layer_of path out)
  file(RELATIVE_PATH rel "${SRC_ROOT}" "${path}")
  set(layer "")
  if(rel MATCHES "^core/base/")
    set(layer "core/base")
  elseif(rel MATCHES "^(scsi|platform|emu|core|gui)/")
    set(layer "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Whether a file of layer `from` (a header when is_header) may include one of
# layer `to`.
function(may_include from to is_header out)
  set(allowed_scsi "scsi")
  set(allowed_platform "scsi;platform")
  if(NOT is_header)
    list(APPEND allowed_platform "emu")
  endif()
  set(allowed_emu "scsi;emu")
  set(allowed_core "scsi;platform;core;core/base")
  set(allowed_core/base "scsi;platform;core/base")
  set(allowed_gui "scsi;platform;core;core/base;gui")
  if(to STREQUAL "" OR to IN_LIST allowed_${from})
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

foreach(f IN LISTS files)
  if(NOT IS_ABSOLUTE "${f}")
    set(f "${SOURCE_DIR}/${f}")
  endif()
  if(NOT f MATCHES "\\.(h|hpp|cpp)$")
    continue()
  endif()
  if(RULE STREQUAL "qt")
    file(STRINGS "${f}" hits REGEX "${pattern_qt}")
    if(hits)
      message(FATAL_ERROR "${TARGET} ${reason_qt}, but ${f} has: ${hits}")
    endif()
    continue()
  endif()

  layer_of("${f}" from)
  if(from STREQUAL "")
    continue()
  endif()
  set(is_header FALSE)
  if(f MATCHES "\\.(h|hpp)$")
    set(is_header TRUE)
  endif()
  get_filename_component(dir "${f}" DIRECTORY)
  file(STRINGS "${f}" lines REGEX "${include_line}")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "${include_line}" _ "${line}")
    set(quote "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(name MATCHES "(^|/)\\.\\./")
      string(APPEND failures "\n  ${f}: ${line} (include by the path from src/)")
    endif()
    set(target_path "")
    if(quote STREQUAL "\"" AND EXISTS "${dir}/${name}")
      get_filename_component(target_path "${dir}/${name}" ABSOLUTE)
    elseif(EXISTS "${SRC_ROOT}/${name}")
      get_filename_component(target_path "${SRC_ROOT}/${name}" ABSOLUTE)
    endif()
    if(target_path STREQUAL "")
      continue()
    endif()
    layer_of("${target_path}" to)
    may_include("${from}" "${to}" ${is_header} allowed)
    if(NOT allowed)
      string(APPEND failures "\n  ${f}: ${line} (${from} must not include ${to})")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${TARGET} includes across its layer's bounds:${failures}")
endif()
file(TOUCH ${STAMP})
