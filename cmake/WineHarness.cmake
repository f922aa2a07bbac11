# Tests run the x86_64 build under Wine: CMake's cross-compiling emulator is a
# small wrapper that points Wine at the build's private prefix and display,
# and a CTest fixture brings the prefix, Xvfb and a persistent wineserver up
# before the first test and stops the server and display after the last.

set(QLM_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(QLM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(QLM_WINE_HARNESS ${CMAKE_SOURCE_DIR}/cmake/wine-harness.sh)
set(QLM_WINE_RUN ${QLM_WINE_STATE}/run)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${QLM_WINE_RUN} @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QLM_WINE_RUN})

add_test(NAME wine.start COMMAND ${QLM_WINE_HARNESS} start ${CMAKE_BINARY_DIR})
add_test(NAME wine.stop COMMAND ${QLM_WINE_HARNESS} stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

# qlm_add_wine_test(NAME <test> TARGET <exe target> [LOCKS <resource>...]
#                   [ARGS <arg>...] [TIMEOUT <seconds>])
# LOCKS names what the test shares with others in the one prefix and must not
# use concurrently: "servicepipe", "registry", "clientfiles" (data.xml and
# the logs under ProgramData), "msglog" (Msg.log beside the programs),
# "display" (pointer and focus on the X display), "platform".
function(qlm_add_wine_test)
  cmake_parse_arguments(T "" "NAME;TARGET;TIMEOUT" "LOCKS;ARGS" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND ${T_TARGET} ${T_ARGS}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine)
  if(T_LOCKS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(T_TIMEOUT)
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# qlm_add_gtest(<target> SOURCES <file>... LIBS <lib>... [LOCKS ...] [TIMEOUT s])
# One GoogleTest executable, run as one CTest test under Wine.
function(qlm_add_gtest target)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  target_link_libraries(${target} PRIVATE ${T_LIBS} gmock gtest_main)
  qlm_add_wine_test(NAME ${target} TARGET ${target} LOCKS ${T_LOCKS} TIMEOUT ${T_TIMEOUT})
endfunction()
