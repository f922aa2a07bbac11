# What the delay-import scripts share; included by DelayImportDef.cmake,
# DelayImportLink.cmake and DelayImportCheck.cmake.

# Runs a tool and keeps its standard output in `out_var`; stops the script
# when the tool fails.
function(delay_import_run out_var)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGV1} failed: ${status}")
  endif()
  set(${out_var} "${output}" PARENT_SCOPE)
endfunction()

# The names in the list `names` that are functions of a delay-import library
# (as the .def files in `def_folder` list them), into `out_var`.
function(delay_import_filter def_folder names out_var)
  file(GLOB defs ${def_folder}/*.def)
  set(functions "")
  foreach(def IN LISTS defs)
    file(STRINGS ${def} lines REGEX "^  ")
    list(TRANSFORM lines STRIP)
    list(APPEND functions ${lines})
  endforeach()
  set(found "")
  foreach(name IN LISTS names)
    if(name IN_LIST functions)
      list(APPEND found ${name})
    endif()
  endforeach()
  set(${out_var} "${found}" PARENT_SCOPE)
endfunction()
