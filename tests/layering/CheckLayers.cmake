# Checks that no toolkit file includes a layer above its own, nor the
# application. Run as
#
#   cmake -DVENEER_DIR=<source>/veneer -P CheckLayers.cmake
#
# Every offending line is printed as file:line: text, and the script fails
# when there is one. The layers, lowest first:
#
#   core <- resource <- markup, render <- control <-> manager <- builder
#        <- window <- activex
#
# A layer may include itself and the layers it builds on; control and
# manager may include each other. Includes that climb out of a folder with
# ".." are refused, as they would hide the layer they reach.
cmake_minimum_required(VERSION 3.16)
if(NOT VENEER_DIR)
  message(FATAL_ERROR "VENEER_DIR is not set")
endif()

set(allowed_core core)
set(allowed_resource ${allowed_core} resource)
set(allowed_markup ${allowed_resource} markup)
set(allowed_render ${allowed_resource} render)
set(allowed_control ${allowed_resource} markup render control manager)
set(allowed_manager ${allowed_control})
set(allowed_builder ${allowed_control} builder)
set(allowed_window ${allowed_builder} window)
set(allowed_activex ${allowed_window} activex)
set(layers core resource markup render control manager builder window activex)

file(GLOB_RECURSE sources RELATIVE ${VENEER_DIR} ${VENEER_DIR}/*.h ${VENEER_DIR}/*.cpp)
set(offences 0)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${source}")
  if(NOT layer IN_LIST layers)
    # Files at the top (the umbrella header) may include every layer.
    set(allowed ${layers})
  else()
    set(allowed ${allowed_${layer}})
  endif()
  file(STRINGS ${VENEER_DIR}/${source} lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\"")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    set(bad FALSE)
    if(target MATCHES "^app/" OR target MATCHES "(^|/)\\.\\./")
      set(bad TRUE)
    elseif(target MATCHES "^veneer/([^/]+)/")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed)
        set(bad TRUE)
      endif()
    endif()
    if(bad)
      message("veneer/${source}:${number}: ${line}")
      math(EXPR offences "${offences} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH sources count)
if(offences GREATER 0)
  message(FATAL_ERROR "${offences} include(s) against the layer order")
endif()
message("${count} toolkit files follow the layer order")
