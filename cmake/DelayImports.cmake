# qlm_delay_import(<target> <dll>...)
# Makes <target> load the named system DLLs on the first call into them
# instead of at process start. For each DLL a delay-import library is made at
# build time from the toolchain's own import library (its functions, read
# with nm, become a .def file that dlltool turns into the delay library) and
# is placed, under the import library's name, in a folder that only <target>
# searches first: every "-l<dll>" on its link line, including those that
# static libraries carry and the compiler's defaults, then takes the delay
# library, and no normal import of the DLL is left. Other targets keep their
# normal imports. The delay-load helper comes from mingw-w64's runtime. The
# link runs through DelayImportLink.cmake, which keeps the load stubs that the
# i686 linker would drop. After each link the program is checked: a DLL of
# the list in its import directory, or a delay-loaded function without its
# stub, fails the build.

find_program(QLM_NM NAMES ${MINGW_TRIPLET}-nm REQUIRED)
find_program(QLM_DLLTOOL NAMES ${MINGW_TRIPLET}-dlltool REQUIRED)
find_program(QLM_OBJDUMP NAMES ${MINGW_TRIPLET}-objdump REQUIRED)
set(QLM_DELAY_DEF_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/DelayImportDef.cmake)
set(QLM_DELAY_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/DelayImportCheck.cmake)
set(QLM_DELAY_LINK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/DelayImportLink.cmake)
set(QLM_DELAY_SYMBOLS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/DelayImportSymbols.cmake)

function(qlm_delay_import target)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}.delayimports)
  file(MAKE_DIRECTORY ${folder})
  # i686 names carry stdcall decoration, which the DLLs do not export, and
  # a leading underscore.
  set(kill_at "")
  set(symbol_prefix "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at --kill-at)
    set(symbol_prefix "_")
  endif()
  set(libraries "")
  foreach(dll IN LISTS ARGN)
    find_library(QLM_IMPLIB_${dll} NAMES ${dll} REQUIRED NO_CACHE)
    # Relative names inside the folder keep the descriptor symbols short
    # ("__DELAY_IMPORT_DESCRIPTOR_libuser32_a").
    add_custom_command(OUTPUT ${folder}/lib${dll}.a
      COMMAND ${CMAKE_COMMAND} -DNM=${QLM_NM} -DIMPORT_LIBRARY=${QLM_IMPLIB_${dll}} -DDLL=${dll}.dll
              -DPOINTER_SIZE=${CMAKE_SIZEOF_VOID_P} -DOUTPUT=${dll}.def -P ${QLM_DELAY_DEF_SCRIPT}
      COMMAND ${QLM_DLLTOOL} ${kill_at} --input-def ${dll}.def --dllname ${dll}.dll --output-delaylib lib${dll}.a
      WORKING_DIRECTORY ${folder}
      DEPENDS ${QLM_IMPLIB_${dll}} ${QLM_DELAY_DEF_SCRIPT} ${QLM_DELAY_SYMBOLS_SCRIPT}
      COMMENT "Making the delay-import library of ${dll}.dll for ${target}"
      VERBATIM)
    list(APPEND libraries ${folder}/lib${dll}.a)
  endforeach()
  add_custom_target(${target}_delayimports DEPENDS ${libraries})
  add_dependencies(${target} ${target}_delayimports)
  target_link_directories(${target} BEFORE PRIVATE ${folder})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libraries} ${QLM_DELAY_LINK_SCRIPT}
    ${QLM_DELAY_SYMBOLS_SCRIPT})
  set_property(TARGET ${target} PROPERTY CXX_LINKER_LAUNCHER
    ${CMAKE_COMMAND} -DNM=${QLM_NM} -DSYMBOL_PREFIX=${symbol_prefix} -DDEF_FOLDER=${folder}
    -P ${QLM_DELAY_LINK_SCRIPT} --)
  list(JOIN ARGN "," dll_list)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${QLM_OBJDUMP} -DIMAGE=$<TARGET_FILE:${target}> -DDLLS=${dll_list}
            -DSYMBOL_PREFIX=${symbol_prefix} -DDEF_FOLDER=${folder} -P ${QLM_DELAY_CHECK_SCRIPT}
    VERBATIM)
endfunction()
