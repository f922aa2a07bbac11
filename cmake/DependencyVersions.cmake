# The versions of everything the build takes from the machine, in one place.
# Configuration checks each against what it finds and stops with a message
# naming both on a mismatch, so that a changed package never slips into a
# build unnoticed; to move to a new version, change it here and review what
# depends on it (the stb_image patch, the source cache).

# Debian source packages, fetched by exactly these versions
# (cmake/fetch-debian-source.sh) and cached in a folder per version.
set(QLM_TINYXML_DEBIAN_VERSION "2.6.2-6+deb12u1")
set(QLM_JSONCPP_DEBIAN_VERSION "1.9.5-4")
# pugixml is a benchmark reference only (bench/markup_bench).
set(QLM_PUGIXML_DEBIAN_VERSION "1.13-0.2")

# Installed packages: the versions their headers and sources declare.
set(QLM_ZLIB_VERSION "1.2.13")          # libz-mingw-w64-dev, ZLIB_VERSION in zlib.h
set(QLM_STB_IMAGE_VERSION "2.27")       # libstb-dev, first line of stb_image.h
set(QLM_GOOGLETEST_VERSION "1.12.1")    # googletest, GOOGLETEST_VERSION of its sources
set(QLM_MINGW_GCC_MAJOR "12")           # g++-mingw-w64-*-posix
set(QLM_MINGW_RUNTIME_VERSION "10.0")   # mingw-w64-*-dev, __MINGW64_VERSION_MAJOR.MINOR

function(qlm_version_mismatch what expected found)
  message(FATAL_ERROR
    "${what}: this build is pinned to version ${expected}, but the machine has ${found}. "
    "Install ${expected}, or move the pin in cmake/DependencyVersions.cmake after checking what depends on it.")
endfunction()

# Reads a version from the first line of a file matching `regex` (one capture).
function(qlm_version_from_file file regex out_var)
  file(STRINGS ${file} lines REGEX "${regex}" LIMIT_COUNT 1)
  if(lines MATCHES "${regex}")
    set(${out_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out_var} "an unreadable version (${file})" PARENT_SCOPE)
  endif()
endfunction()

function(qlm_check_toolchain_versions)
  if(NOT CMAKE_CXX_COMPILER_VERSION MATCHES "^${QLM_MINGW_GCC_MAJOR}\\.")
    qlm_version_mismatch("mingw-w64 GCC (${CMAKE_CXX_COMPILER})" "${QLM_MINGW_GCC_MAJOR}.x"
                         "${CMAKE_CXX_COMPILER_VERSION}")
  endif()
  find_file(QLM_MINGW_HEADER _mingw_mac.h REQUIRED NO_CACHE)
  qlm_version_from_file(${QLM_MINGW_HEADER} "^#define __MINGW64_VERSION_MAJOR ([0-9]+)" major)
  qlm_version_from_file(${QLM_MINGW_HEADER} "^#define __MINGW64_VERSION_MINOR ([0-9]+)" minor)
  if(NOT "${major}.${minor}" STREQUAL QLM_MINGW_RUNTIME_VERSION)
    qlm_version_mismatch("mingw-w64 runtime (${QLM_MINGW_HEADER})" "${QLM_MINGW_RUNTIME_VERSION}"
                         "${major}.${minor}")
  endif()
endfunction()
