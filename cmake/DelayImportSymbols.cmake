# What the delay-import scripts (DelayImportDef, DelayImportLink and
# DelayImportCheck, each run with cmake -P) share: running a binutils tool,
# picking names out of nm's listing and reading the function lists that the
# .def files of a program's delay-import libraries hold.

# Runs <tool> with the arguments after it; its output goes to <out>. A tool
# that fails stops the script.
function(qlm_delay_run_tool out tool)
  execute_process(COMMAND ${tool} ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${tool} failed on ${ARGN}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The names of the symbols of one nm type (T: code, A: absolute) in nm's
# listing <symbols>, without <prefix> (i686's leading "_"); a stdcall
# decoration ("@N") stays.
function(qlm_delay_nm_names out symbols type prefix)
  string(REGEX MATCHALL " ${type} ${prefix}[A-Za-z_][A-Za-z0-9_]*(@[0-9]+)?\n" found "${symbols}")
  list(TRANSFORM found REPLACE "^ ${type} ${prefix}(.*)\n$" "\\1")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The functions of every delay-import library made in <folder>, as its .def
# files list them (one indented name a line).
function(qlm_delay_functions out folder)
  file(GLOB defs ${folder}/*.def)
  set(functions "")
  foreach(def IN LISTS defs)
    file(STRINGS ${def} lines REGEX "^  ")
    list(TRANSFORM lines STRIP)
    list(APPEND functions ${lines})
  endforeach()
  set(${out} ${functions} PARENT_SCOPE)
endfunction()

# The entries of the list <names> that the list <among> holds too, in the
# order of <names>.
function(qlm_delay_found_in out names among)
  set(found "")
  foreach(name IN LISTS names)
    if(name IN_LIST among)
      list(APPEND found ${name})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
