# Fails when a program still imports, at start, a DLL it should load on first
# use, or when it has no delay-loaded DLL at all.
#   cmake -DOBJDUMP=<objdump> -DIMAGE=<program.exe> -DDLLS=<dll,dll,...>
#         -P DelayImportCheck.cmake
# The import directory is read from "objdump -p" ("DLL Name: X.dll" lines);
# dlltool's delay descriptors, which binutils does not enter in the image's
# delay-import directory, are found by their symbols.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p -t ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${IMAGE}")
endif()
string(TOLOWER "${dump}" dump)
string(REGEX MATCHALL "dll name: [^\n]+" imported "${dump}")
list(TRANSFORM imported REPLACE "^dll name: ([^\n]+)\\.dll$" "\\1")
string(REGEX MATCHALL "__delay_import_descriptor_lib[a-z0-9_]+_a" delayed "${dump}")
list(TRANSFORM delayed REPLACE "^__delay_import_descriptor_lib(.+)_a$" "\\1")

string(REPLACE "," ";" wanted "${DLLS}")
set(early "")
foreach(dll IN LISTS wanted)
  string(TOLOWER "${dll}" dll)
  if(dll IN_LIST imported)
    list(APPEND early ${dll})
  endif()
endforeach()
if(early)
  message(FATAL_ERROR "${IMAGE} imports ${early} at start; these should load on first use")
endif()
if(NOT delayed)
  message(FATAL_ERROR "${IMAGE} has no delay-loaded DLL")
endif()
list(REMOVE_DUPLICATES delayed)
list(JOIN delayed ", " delayed)
message(STATUS "${IMAGE}: loads ${delayed} on first use")
