# Every MMC command is built in the drive layer's wrappers, checked by every
# build. Included, this file gives quenza_commands_in_drive(target); run with
# -P it checks the sources of one target (core or gui) and fails naming
# file:line for each command built elsewhere:
#  - a CommandBlock constructed: only core/drive/MmcCdbs.* (one builder for
#    each MMC command), core/drive/CommandBlock.* and the vendor commands of
#    core/drive/vendor build one; outside core/drive nothing names the type;
#  - a CDB written byte by byte through the channel's Cdb(): only
#    core/drive/ScsiCommand.cpp and core/drive/CommandBlock.cpp;
#  - a byte list led by an operation code of scsi/Opcodes.h ({mmc::kInquiry,
#    ...}), or a hex byte list handed to a sender (Send...({0x12, ...)):
#    only core/drive/MmcCdbs.cpp, and core/drive/vendor for the vendor
#    opcodes (an MMC command a family sends is taken from MmcCdbs too);
#  - the vendor CDB arrays (vendor_cdb::, Cdb10, Cdb12) outside core/drive.
# The custom command panel sends the CDB its user typed: core/tools/usercommand
# and gui/tools/usercommand are left out. Files outside core and gui (the
# pass-through below the drive layer, the emulated drive that parses CDBs)
# are not this check's.
if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(QUENZA_CHECK_COMMANDS_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
  function(quenza_commands_in_drive target)
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.commands.stamp)
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.commands.sources)
    file(WRITE ${list_file} "${sources}")
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DSTAMP=${stamp} -DTARGET=${target} -DSOURCE_DIR=${source_dir}
              -DSRC_ROOT=${PROJECT_SOURCE_DIR}/src -DSOURCE_LIST=${list_file} -P ${QUENZA_CHECK_COMMANDS_SCRIPT}
      DEPENDS ${sources} ${QUENZA_CHECK_COMMANDS_SCRIPT} ${PROJECT_SOURCE_DIR}/src/scsi/Opcodes.h
      COMMENT "Checking where ${target} builds its commands")
    add_custom_target(${target}_commands_check DEPENDS ${stamp})
    add_dependencies(${target} ${target}_commands_check)
  endfunction()
  return()
endif()

cmake_minimum_required(VERSION 3.25)  # policies of a script run with -P

# The opcode names of scsi/Opcodes.h, so that a new opcode is covered too.
file(READ ${SRC_ROOT}/scsi/Opcodes.h opcodes_text)
string(REGEX MATCHALL "constexpr std::uint8_t (k[A-Za-z0-9]+) =" opcode_lines "${opcodes_text}")
set(opcode_names "")
foreach(line IN LISTS opcode_lines)
  string(REGEX REPLACE "constexpr std::uint8_t (k[A-Za-z0-9]+) =" "\\1" name "${line}")
  list(APPEND opcode_names ${name})
endforeach()
list(LENGTH opcode_names opcode_count)
if(opcode_count LESS 10)
  message(FATAL_ERROR "${TARGET}: only ${opcode_count} operation codes found in ${SRC_ROOT}/scsi/Opcodes.h")
endif()
list(JOIN opcode_names "|" opcode_alternatives)

# A temporary, or a named block (a function declaration with no parameters is none).
set(rule_block "CommandBlock[ \t]*[({]|CommandBlock[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*({|\\([ \t]*[^) \t])")
set(rule_block_named "(^|[^A-Za-z0-9_])CommandBlock([^A-Za-z0-9_]|$)")
set(rule_channel "[.>][ \t]*Cdb[ \t]*\\(")
set(rule_opcode_list "{[ \t]*((mmc|vendor_opcode)::)?(${opcode_alternatives})[ \t]*,")
set(rule_mmc_list "{[ \t]*mmc::(${opcode_alternatives})[ \t]*,")
set(rule_hex_list "(Send|Execute|Cdb|Command)[A-Za-z0-9_]*[ \t]*\\([^;(){}]*{[ \t]*0[xX][0-9A-Fa-f]+[ \t]*,")
set(rule_vendor "vendor_cdb::|(^|[^A-Za-z0-9_])Cdb(10|12)?[ \t]*[<{]")
set(why_block "a CommandBlock built outside the drive layer's wrappers (core/drive/MmcCdbs.cpp builds each MMC command)")
set(why_block_named "the drive layer's CommandBlock named outside core/drive (send through a wrapper)")
set(why_channel "a CDB written byte by byte through the channel (build it in core/drive/MmcCdbs.cpp)")
set(why_opcode_list "a raw CDB byte list led by an operation code (build it in core/drive/MmcCdbs.cpp)")
set(why_mmc_list "an MMC command's CDB among a family's vendor commands (take it from core/drive/MmcCdbs.cpp)")
set(why_hex_list "a raw CDB byte list handed to a sender (build it in core/drive/MmcCdbs.cpp)")
set(why_vendor "a vendor CDB outside core/drive/vendor")

# The rules hold: each must catch what it is for, or the check passes on
# nothing.
set(samples_block "CommandBlock(mmc::kInquiry).Set(4, 36)" "CommandBlock block(cdb[0])")
set(samples_block_named "#include \"core/drive/CommandBlock.h\"")
set(samples_channel "*m_channel.Cdb(0) = mmc::kInquiry" "*channel->Cdb(4) = 36")
set(samples_opcode_list "SendForAnswer(m_drives, {mmc::kReadDiscInformation, 0, 0, 0}, 256)" "{kTestUnitReady, 0}")
set(samples_mmc_list "Cdb10{mmc::kRead10, 0, 0, 0, 0, 0, 0, 0, 1, 0}")
set(samples_hex_list "SendForAnswer(drive, {0x51, 0, 0, 0}, 256)")
set(samples_vendor "vendor_cdb::Send(channel, cdb)" "Cdb10{0xF3, 0}")
set(rules block block_named channel opcode_list mmc_list hex_list vendor)
foreach(rule IN LISTS rules)
  foreach(sample IN LISTS samples_${rule})
    if(NOT sample MATCHES "${rule_${rule}}")
      message(FATAL_ERROR "the command check's rule '${rule}' does not catch: ${sample}")
    endif()
  endforeach()
endforeach()

# The rules a file under src/ answers to.
function(rules_for rel out)
  set(applied "")
  if(rel MATCHES "^(core/tools/usercommand|gui/tools/usercommand)/")
    # The custom command panel's typed CDB.
  elseif(rel MATCHES "^core/drive/vendor/")
    list(APPEND applied mmc_list channel)
  elseif(rel MATCHES "^core/drive/")
    if(NOT rel MATCHES "^core/drive/(MmcCdbs\\.(h|cpp)|CommandBlock\\.(h|cpp))$")
      list(APPEND applied block opcode_list hex_list)
    endif()
    if(NOT rel MATCHES "^core/drive/(ScsiCommand|CommandBlock)\\.cpp$")
      list(APPEND applied channel)
    endif()
  elseif(rel MATCHES "^(core|gui)/")
    list(APPEND applied block_named channel opcode_list hex_list vendor)
  endif()
  set(${out} "${applied}" PARENT_SCOPE)
endfunction()

# Each place in the file's text where the rule matches, as "path:line: the
# line (why)".
function(breaks_of path text rule out)
  set(found "")
  set(before "")
  set(rest "${text}")
  while(rest MATCHES "${rule_${rule}}")
    set(hit "${CMAKE_MATCH_0}")
    string(FIND "${rest}" "${hit}" at)
    string(SUBSTRING "${rest}" 0 ${at} head)
    string(APPEND before "${head}")
    string(REGEX MATCHALL "\n" newlines "${before}")
    list(LENGTH newlines line)
    math(EXPR line "${line} + 1")
    string(SUBSTRING "${rest}" ${at} -1 from_hit)
    string(REGEX MATCH "[^\n]*$" line_start "${before}")
    string(REGEX MATCH "^[^\n]*" line_end "${from_hit}")
    string(STRIP "${line_start}${line_end}" shown)
    string(APPEND found "\n  ${path}:${line}: ${shown} (${why_${rule}})")
    string(LENGTH "${hit}" width)
    string(SUBSTRING "${from_hit}" 0 ${width} taken)
    string(APPEND before "${taken}")
    string(SUBSTRING "${from_hit}" ${width} -1 rest)
  endwhile()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE_LIST} SOURCES)
set(failures "")
set(checked 0)
set(builder_seen FALSE)
set(drive_layer_seen FALSE)
foreach(f IN LISTS SOURCES)
  if(NOT IS_ABSOLUTE "${f}")
    set(f "${SOURCE_DIR}/${f}")
  endif()
  if(NOT f MATCHES "\\.(h|hpp|cpp)$")
    continue()
  endif()
  file(RELATIVE_PATH rel "${SRC_ROOT}" "${f}")
  if(NOT rel MATCHES "^(core|gui)/")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  if(rel MATCHES "^core/drive/")
    set(drive_layer_seen TRUE)
  endif()
  if(rel STREQUAL "core/drive/MmcCdbs.cpp")
    file(READ "${f}" builders)
    if(builders MATCHES "${rule_block}")
      set(builder_seen TRUE)
    endif()
  endif()
  rules_for("${rel}" applied)
  if(NOT applied)
    continue()
  endif()
  file(READ "${f}" text)
  foreach(rule IN LISTS applied)
    if(text MATCHES "${rule_${rule}}")
      breaks_of("${f}" "${text}" ${rule} breaks)
      string(APPEND failures "${breaks}")
    endif()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "${TARGET}: the command check found no source of core or gui among its sources")
endif()
if(failures)
  message(FATAL_ERROR "${TARGET} builds MMC commands outside the drive layer's wrappers:${failures}")
endif()
if(drive_layer_seen AND NOT builder_seen)
  message(FATAL_ERROR "${TARGET}: core/drive/MmcCdbs.cpp, where the MMC commands are built, is missing or builds none")
endif()
file(TOUCH ${STAMP})
