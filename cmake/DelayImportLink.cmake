# Links a program that uses delay-import libraries, keeping the load stubs
# that the i686 linker would drop.
#   cmake -DNM=<nm> -DSYMBOL_PREFIX=<"_" or ""> -DDEF_FOLDER=<folder>
#         -P DelayImportLink.cmake -- <link command...>
#
# Code compiled against the Windows headers calls a DLL function through its
# pointer "__imp_Name" and never names the stub "Name". The i686 linker
# drops the code of an import-library member whose stub nobody names, but in
# a delay-import member that code holds the routine that loads the DLL, and
# the pointer, which starts out aimed at it, is left null: the first call
# jumps to address 0. So the program is linked, the delay-loaded functions
# whose stub was dropped (an absolute symbol in its symbol table) are
# collected, and the program is linked once more with those stubs required.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/DelayImportSymbols.cmake)

set(command "")
set(output "")
set(in_command FALSE)
set(take_output FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  set(arg "${CMAKE_ARGV${i}}")
  if(in_command)
    list(APPEND command "${arg}")
    if(take_output)
      set(output "${arg}")
      set(take_output FALSE)
    elseif(arg STREQUAL "-o")
      set(take_output TRUE)
    endif()
  elseif(arg STREQUAL "--")
    set(in_command TRUE)
  endif()
endforeach()
if(NOT command OR output STREQUAL "")
  message(FATAL_ERROR "DelayImportLink: no link command with an output after --")
endif()

function(run_link)
  execute_process(COMMAND ${command} ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "link failed: ${status}")
  endif()
endfunction()

run_link()

# Stubs that were dropped show as absolute symbols; those of delay-loaded
# functions are required in a second link.
qlm_delay_functions(delayed ${DEF_FOLDER})
qlm_delay_run_tool(symbols ${NM} ${output})
qlm_delay_nm_names(dropped "${symbols}" A "${SYMBOL_PREFIX}")
qlm_delay_found_in(stubless "${dropped}" "${delayed}")
list(TRANSFORM stubless PREPEND "-Wl,--require-defined,${SYMBOL_PREFIX}")
if(stubless)
  run_link(${stubless})
endif()
