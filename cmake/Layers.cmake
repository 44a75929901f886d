if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)  # policies of a script run with -P
endif()

# The layers of src/, one folder each: every folder of src/ is one of them
# (LayerRules.cmake and CheckIncludes.cmake refuse any other).
set(QUENZA_LAYERS scsi platform emu core gui)

# Fails when a folder of src_root is no layer.
function(quenza_check_layer_folders src_root)
  file(GLOB entries LIST_DIRECTORIES true ${src_root}/*)
  foreach(entry IN LISTS entries)
    get_filename_component(name ${entry} NAME)
    if(IS_DIRECTORY ${entry} AND NOT name IN_LIST QUENZA_LAYERS)
      list(JOIN QUENZA_LAYERS ", " layers)
      message(FATAL_ERROR "src/${name} is no layer: the folders of src/ are ${layers} "
                          "(cmake/Layers.cmake; DEVELOPERS.md, Layout)")
    endif()
  endforeach()
endfunction()

# Run alone (cmake -DSRC_ROOT=... -P Layers.cmake) it checks that folder.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  quenza_check_layer_folders(${SRC_ROOT})
endif()
