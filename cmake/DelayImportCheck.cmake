# Checks a program linked with delay-import libraries: it fails when the
# program still imports one of the DLLs at start, when it delay-loads nothing
# at all, or when a delay-loaded function lost its load stub (its pointer
# would then be null; see DelayImportLink.cmake).
#   cmake -DOBJDUMP=<objdump> -DIMAGE=<program.exe> -DDLLS=<dll,dll,...>
#         -DSYMBOL_PREFIX=<"_" or ""> -DDEF_FOLDER=<folder> -P DelayImportCheck.cmake
# The import directory is read from "objdump -p" ("DLL Name: X.dll" lines);
# dlltool's delay descriptors, which binutils does not enter in the image's
# delay-import directory, and the stubs are found in its symbol table.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/DelayImportSymbols.cmake)
qlm_delay_run_tool(dump ${OBJDUMP} -p -t ${IMAGE})

# DLLs imported at start.
string(REGEX MATCHALL "DLL Name: [^\n]+" imported "${dump}")
list(TRANSFORM imported REPLACE "^DLL Name: ([^\n]+)\\.[dD][lL][lL]$" "\\1")
list(TRANSFORM imported TOLOWER)
string(REPLACE "," ";" wanted "${DLLS}")
list(TRANSFORM wanted TOLOWER)
qlm_delay_found_in(early "${wanted}" "${imported}")
if(early)
  message(FATAL_ERROR "${IMAGE} imports ${early} at start; these should load on first use")
endif()

# DLLs loaded on first use: one descriptor each.
string(REGEX MATCHALL "__DELAY_IMPORT_DESCRIPTOR_lib[A-Za-z0-9_]+_a" delayed "${dump}")
list(TRANSFORM delayed REPLACE "^__DELAY_IMPORT_DESCRIPTOR_lib(.+)_a$" "\\1")
list(REMOVE_DUPLICATES delayed)
if(NOT delayed)
  message(FATAL_ERROR "${IMAGE} has no delay-loaded DLL")
endif()

# Dropped stubs: absolute symbols ("sec -1") named like delay-loaded functions.
string(REGEX MATCHALL "\\(sec -1\\)[^\n]* ${SYMBOL_PREFIX}[A-Za-z_][A-Za-z0-9_]*(@[0-9]+)?\n" absolute "${dump}")
list(TRANSFORM absolute REPLACE "^.* ${SYMBOL_PREFIX}([^ ]+)\n$" "\\1")
qlm_delay_functions(functions ${DEF_FOLDER})
qlm_delay_found_in(stubless "${absolute}" "${functions}")
if(stubless)
  message(FATAL_ERROR "${IMAGE}: the load stubs of ${stubless} were dropped")
endif()

list(JOIN delayed ", " delayed)
message(STATUS "${IMAGE}: loads ${delayed} on first use")
