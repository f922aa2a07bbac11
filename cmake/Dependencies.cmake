# Third-party libraries, all installed on the machine and built here for the
# current mingw target; nothing of them is kept in the repository.
#
#  - TinyXML and JsonCpp: Debian source packages, fetched once into a cache
#    outside the tree (apt-get source, with a private deb-src list);
#  - zlib: the static library of libz-mingw-w64-dev;
#  - stb_image: the header of libstb-dev;
#  - GoogleTest: the sources of Debian's googletest package.

set(QLM_DEPS_CACHE "$ENV{HOME}/.cache/qlmnews/debsrc" CACHE PATH
    "Where the Debian source packages are unpacked")

function(qlm_debian_source package dir_glob out_var)
  file(GLOB found LIST_DIRECTORIES true "${QLM_DEPS_CACHE}/src/${dir_glob}")
  if(NOT found)
    message(STATUS "Fetching Debian source package ${package}")
    execute_process(
      COMMAND ${CMAKE_SOURCE_DIR}/cmake/fetch-debian-source.sh ${QLM_DEPS_CACHE} ${package}
      RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "Could not fetch the Debian source package ${package}")
    endif()
    file(GLOB found LIST_DIRECTORIES true "${QLM_DEPS_CACHE}/src/${dir_glob}")
  endif()
  list(FILTER found EXCLUDE REGEX "\\.(gz|xz|dsc)$")
  list(GET found 0 first)
  set(${out_var} ${first} PARENT_SCOPE)
endfunction()

# TinyXML, built as Debian builds it (with the STL string interface).
qlm_debian_source(tinyxml "tinyxml-*" TINYXML_DIR)
add_library(tinyxml STATIC
  ${TINYXML_DIR}/tinyxml.cpp
  ${TINYXML_DIR}/tinyxmlparser.cpp
  ${TINYXML_DIR}/tinyxmlerror.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_DIR})
target_compile_options(tinyxml PRIVATE -w)

# JsonCpp.
qlm_debian_source(libjsoncpp "libjsoncpp-*" JSONCPP_DIR)
file(GLOB JSONCPP_SOURCES ${JSONCPP_DIR}/src/lib_json/*.cpp)
add_library(jsoncpp STATIC ${JSONCPP_SOURCES})
target_include_directories(jsoncpp SYSTEM PUBLIC ${JSONCPP_DIR}/include)
target_include_directories(jsoncpp PRIVATE ${JSONCPP_DIR}/src/lib_json)
target_compile_options(jsoncpp PRIVATE -w)

# zlib (static, from libz-mingw-w64-dev).
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(zlib STATIC IMPORTED GLOBAL)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION ${ZLIB_STATIC})
find_path(ZLIB_INCLUDE zlib.h REQUIRED)
target_include_directories(zlib INTERFACE ${ZLIB_INCLUDE})

# stb_image (header only, from libstb-dev; outside the cross sysroot).
find_path(STB_IMAGE_DIR stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE ${STB_IMAGE_DIR})

# GoogleTest from Debian's googletest sources.
set(QLM_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${QLM_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
