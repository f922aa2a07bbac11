# Compile and link flags of our own code (app/, veneer/, resources/, tools/,
# bench/, tests/). Included after the third-party targets are defined, so that
# none of this reaches TinyXML, JsonCpp or GoogleTest; their headers are
# SYSTEM include folders, so their warnings do not fail our build either.
#
# Build types (the presets pick one):
#  - Checked (preset x64, where the tests run): assertions and the standard
#    library's own checks live, debug information, and undefined behaviour
#    (signed overflow, bad shifts, out-of-bounds array indices, misaligned or
#    null accesses ...) stopped at once by a trap instruction: mingw-w64 has
#    no sanitizer runtime to report it, so the program dies with an illegal
#    instruction (0xC000001D) at the faulty line, which a debugger shows.
#  - RelWithDebInfo (presets x86, the product, and x64-release for the
#    benchmarks): the optimisation of a release, NDEBUG, and debug
#    information that the package step moves into a file of its own.

set(QLM_CHECKED_BUILD OFF)
if(CMAKE_BUILD_TYPE STREQUAL "Checked")
  set(QLM_CHECKED_BUILD ON)
endif()

set(QLM_LANGUAGES C,CXX)
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_compile_options("$<$<COMPILE_LANGUAGE:${QLM_LANGUAGES}>:-Wall;-Wextra;-Wshadow;-Werror>")

# Hardening: stack canaries and the checked string and memory functions (the
# fortified functions and the canary's handler come from libssp, linked
# statically like the rest of the runtime), and an image that the loader may
# place at a random address (it needs the relocation section) with a stack
# and heap that are not executable.
add_compile_options("$<$<COMPILE_LANGUAGE:${QLM_LANGUAGES}>:-fstack-protector-strong>")
add_compile_definitions("$<$<COMPILE_LANGUAGE:${QLM_LANGUAGES}>:_FORTIFY_SOURCE=2>")
add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
endif()

# Code and data the program never reaches stay out of the image.
add_compile_options("$<$<COMPILE_LANGUAGE:${QLM_LANGUAGES}>:-ffunction-sections;-fdata-sections>")
add_link_options(-Wl,--gc-sections)

if(QLM_CHECKED_BUILD)
  set(QLM_UBSAN_FLAGS -fsanitize=undefined -fsanitize-undefined-trap-on-error)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "${QLM_UBSAN_FLAGS}")
  list(JOIN CMAKE_REQUIRED_FLAGS " " CMAKE_REQUIRED_FLAGS)
  check_cxx_source_compiles("int main(int argc, char**) { return argc << 31; }" QLM_UBSAN_TRAP_WORKS)
  unset(CMAKE_REQUIRED_FLAGS)
  if(NOT QLM_UBSAN_TRAP_WORKS)
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} cannot build with ${QLM_UBSAN_FLAGS}")
  endif()
  add_compile_options("$<$<COMPILE_LANGUAGE:${QLM_LANGUAGES}>:${QLM_UBSAN_FLAGS}>")
endif()

# qlm_check_image_hardening(<target>): after each link, checks that the
# executable can be placed at a random address (DYNAMIC_BASE and a relocation
# section), has NX_COMPAT and, on x64, HIGH_ENTROPY_VA.
set(QLM_HARDENING_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ImageHardeningCheck.cmake)
function(qlm_check_image_hardening target)
  find_program(QLM_OBJDUMP NAMES ${MINGW_TRIPLET}-objdump REQUIRED)
  set(flags DYNAMIC_BASE NX_COMPAT)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    list(APPEND flags HIGH_ENTROPY_VA)
  endif()
  list(JOIN flags "," flags)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${QLM_OBJDUMP} -DIMAGE=$<TARGET_FILE:${target}> -DFLAGS=${flags}
            -P ${QLM_HARDENING_CHECK_SCRIPT}
    VERBATIM)
endfunction()
