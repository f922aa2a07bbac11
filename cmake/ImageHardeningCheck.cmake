# Checks the header of a linked executable: every flag named must be set in
# its DllCharacteristics, and an image that may be moved (DYNAMIC_BASE) must
# carry its relocations (older binutils dropped the .reloc section of
# executables, and the loader then cannot move it after all).
#   cmake -DOBJDUMP=<objdump> -DIMAGE=<program.exe> -DFLAGS=<FLAG,FLAG,...>
#         -P ImageHardeningCheck.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -p -h ${IMAGE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${IMAGE}")
endif()

# "DllCharacteristics <hex>" is followed by one indented line per flag set.
if(NOT dump MATCHES "DllCharacteristics[ \t]+[0-9a-fA-F]+\n((\t+[A-Z_]+\n)*)")
  message(FATAL_ERROR "${IMAGE}: no DllCharacteristics in the output of ${OBJDUMP} -p")
endif()
string(REGEX MATCHALL "[A-Z_]+" present "${CMAKE_MATCH_1}")
string(REPLACE "," ";" wanted "${FLAGS}")
set(missing "")
foreach(flag IN LISTS wanted)
  if(NOT flag IN_LIST present)
    list(APPEND missing ${flag})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "${IMAGE} lacks ${missing} in its DllCharacteristics (it has: ${present})")
endif()
if("DYNAMIC_BASE" IN_LIST wanted AND NOT dump MATCHES "\n +[0-9]+ \\.reloc ")
  message(FATAL_ERROR "${IMAGE} is marked DYNAMIC_BASE but has no .reloc section")
endif()
