# Writes the .def file of a delay-import library: every function of a
# system import library, read from its symbols with nm.
#   cmake -DNM=<nm> -DIMPORT_LIBRARY=<lib.a> -DDLL=<name.dll>
#         -DPOINTER_SIZE=<4|8> -DOUTPUT=<file.def> -P DelayImportDef.cmake
#
# Each function of the library has a thunk, the text symbol "Name" (i686:
# "_Name@N" for stdcall, "_Name" for cdecl), beside its pointer "__imp_Name";
# exported data has the pointer only and cannot be delay-loaded, so it is left
# out. i686 entries keep their "@N": dlltool, with --kill-at, then makes the
# decorated symbols and imports the plain names the DLLs export.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/DelayImportSymbols.cmake)
qlm_delay_run_tool(symbols ${NM} ${IMPORT_LIBRARY})

if(POINTER_SIZE EQUAL 4)
  set(prefix "_")
else()
  set(prefix "")
endif()

qlm_delay_nm_names(thunks "${symbols}" T "${prefix}")
list(REMOVE_DUPLICATES thunks)
if(NOT thunks)
  message(FATAL_ERROR "no functions found in ${IMPORT_LIBRARY}")
endif()
list(TRANSFORM thunks PREPEND "  ")
list(JOIN thunks "\n" exports)
file(WRITE ${OUTPUT} "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
