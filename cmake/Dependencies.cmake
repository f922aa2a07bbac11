# Third-party libraries, all installed on the machine and built here for the
# current mingw target; nothing of them is kept in the repository. Each is
# checked against its pinned version (cmake/DependencyVersions.cmake).
#
#  - TinyXML and JsonCpp: Debian source packages, fetched once per version
#    into a cache outside the tree (apt-get source, with a private deb-src
#    list);
#  - zlib: the static library of libz-mingw-w64-dev;
#  - stb_image: the header of libstb-dev, with a reviewed patch applied to a
#    copy in the build tree;
#  - GoogleTest: the sources of Debian's googletest package.
#
# Their headers are SYSTEM include folders, so that our warning flags (and
# -Werror) do not judge code we do not own.

include(DependencyVersions)
qlm_check_toolchain_versions()

set(QLM_DEPS_CACHE "$ENV{HOME}/.cache/qlmnews/debsrc" CACHE PATH
    "Where the Debian source packages are unpacked, a folder per package and version")

# qlm_debian_source(<package> <version> <out_var>): the unpacked source tree
# of exactly that version, fetched into the cache when it is not there yet.
function(qlm_debian_source package version out_var)
  set(folder "${QLM_DEPS_CACHE}/${package}/${version}")
  if(NOT EXISTS "${folder}/.complete")
    message(STATUS "Fetching Debian source package ${package} ${version}")
    execute_process(
      COMMAND ${CMAKE_SOURCE_DIR}/cmake/fetch-debian-source.sh ${QLM_DEPS_CACHE} ${package} ${version}
      RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "Could not fetch the Debian source package ${package} ${version} (pinned in "
                          "cmake/DependencyVersions.cmake); see the messages above")
    endif()
  endif()
  file(GLOB entries LIST_DIRECTORIES true "${folder}/*")
  set(trees "")
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${entry}")
      list(APPEND trees "${entry}")
    endif()
  endforeach()
  list(LENGTH trees count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${folder} should hold one unpacked source tree; remove it to fetch it again")
  endif()
  # What dpkg-source unpacked names its version in the changelog's first line.
  qlm_version_from_file("${trees}/debian/changelog" "^${package} \\(([^)]+)\\)" found)
  if(NOT found STREQUAL version)
    qlm_version_mismatch("Debian source package ${package} (${trees})" "${version}" "${found}")
  endif()
  set(${out_var} "${trees}" PARENT_SCOPE)
endfunction()

# TinyXML, built as Debian builds it (with the STL string interface).
qlm_debian_source(tinyxml ${QLM_TINYXML_DEBIAN_VERSION} TINYXML_DIR)
add_library(tinyxml STATIC
  ${TINYXML_DIR}/tinyxml.cpp
  ${TINYXML_DIR}/tinyxmlparser.cpp
  ${TINYXML_DIR}/tinyxmlerror.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_DIR})
target_compile_options(tinyxml PRIVATE -w)

# JsonCpp.
qlm_debian_source(libjsoncpp ${QLM_JSONCPP_DEBIAN_VERSION} JSONCPP_DIR)
file(GLOB JSONCPP_SOURCES ${JSONCPP_DIR}/src/lib_json/*.cpp)
add_library(jsoncpp STATIC ${JSONCPP_SOURCES})
target_include_directories(jsoncpp SYSTEM PUBLIC ${JSONCPP_DIR}/include)
target_include_directories(jsoncpp PRIVATE ${JSONCPP_DIR}/src/lib_json)
target_compile_options(jsoncpp PRIVATE -w)

# zlib (static, from libz-mingw-w64-dev).
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE zlib.h REQUIRED)
qlm_version_from_file(${ZLIB_INCLUDE}/zlib.h "^#define ZLIB_VERSION \"([^\"]+)\"" found)
if(NOT found STREQUAL QLM_ZLIB_VERSION)
  qlm_version_mismatch("zlib (${ZLIB_INCLUDE}/zlib.h)" "${QLM_ZLIB_VERSION}" "${found}")
endif()
add_library(zlib STATIC IMPORTED GLOBAL)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION ${ZLIB_STATIC})
target_include_directories(zlib SYSTEM INTERFACE ${ZLIB_INCLUDE})

# stb_image (header only, from libstb-dev; outside the cross sysroot). The
# code includes a copy with cmake/patches/stb_image-huffman-range.patch
# applied; configuration stops when the patch does not apply.
find_path(STB_IMAGE_DIR stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(STB_ORIGINAL ${STB_IMAGE_DIR}/stb_image.h)
qlm_version_from_file(${STB_ORIGINAL} "^/\\* stb_image - v([0-9.]+) " found)
if(NOT found STREQUAL QLM_STB_IMAGE_VERSION)
  qlm_version_mismatch("stb_image (${STB_ORIGINAL})" "${QLM_STB_IMAGE_VERSION}" "${found}")
endif()
find_program(QLM_PATCH patch REQUIRED)
set(STB_PATCH ${CMAKE_SOURCE_DIR}/cmake/patches/stb_image-huffman-range.patch)
set(STB_PATCHED_DIR ${CMAKE_BINARY_DIR}/_deps/stb_image)
file(MAKE_DIRECTORY ${STB_PATCHED_DIR})
file(COPY_FILE ${STB_ORIGINAL} ${STB_PATCHED_DIR}/stb_image.h.new)
execute_process(
  COMMAND ${QLM_PATCH} --batch --forward --no-backup-if-mismatch --reject-file=- --quiet
          ${STB_PATCHED_DIR}/stb_image.h.new ${STB_PATCH}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${STB_PATCH} does not apply to ${STB_ORIGINAL}:\n${out}")
endif()
# Copied only when it changed, so that a reconfigure rebuilds nothing.
file(COPY_FILE ${STB_PATCHED_DIR}/stb_image.h.new ${STB_PATCHED_DIR}/stb_image.h ONLY_IF_DIFFERENT)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${STB_ORIGINAL} ${STB_PATCH})
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE ${STB_PATCHED_DIR})

# stb_image_write (the tests make their images with it), from the same
# package, in a folder of its own so that nothing reaches the unpatched
# stb_image.h beside it.
set(STB_WRITE_DIR ${CMAKE_BINARY_DIR}/_deps/stb_image_write)
file(MAKE_DIRECTORY ${STB_WRITE_DIR})
file(COPY_FILE ${STB_IMAGE_DIR}/stb_image_write.h ${STB_WRITE_DIR}/stb_image_write.h ONLY_IF_DIFFERENT)
add_library(stb_image_write INTERFACE)
target_include_directories(stb_image_write SYSTEM INTERFACE ${STB_WRITE_DIR})

# GoogleTest from Debian's googletest sources.
set(QLM_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
qlm_version_from_file(${QLM_GOOGLETEST_DIR}/CMakeLists.txt "GOOGLETEST_VERSION ([0-9.]+)" found)
if(NOT found STREQUAL QLM_GOOGLETEST_VERSION)
  qlm_version_mismatch("GoogleTest (${QLM_GOOGLETEST_DIR})" "${QLM_GOOGLETEST_VERSION}" "${found}")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${QLM_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
