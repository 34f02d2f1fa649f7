# The Windows programs without the C++ runtime's exception machinery (lean-runtime/README.md).
#
# quarnel_lean_runtime(<target>... [UNCHECKED])
#   Compiles each target without exceptions, without the locks around the first use of a local
#   static (the programs run their code on one thread: the setup's dialog thread, the library's
#   loader calls) and, on x86, without unwinding tables. Zero-initialised variables stay in the
#   uninitialised data: this toolchain writes each one given a section of its own out as data,
#   which costs a library with a handful of them a whole file-aligned data section. A program or
#   library additionally links the lean-runtime pieces (a library also its own start-up in place of
#   the runtime's), and its link fails when the linker still
#   took one of the runtime members that the pieces are there to keep out: a toolchain whose
#   runtime names or packs them differently shows as a link error, never as a silently bigger
#   program. UNCHECKED is for test programs, whose test framework needs the runtime's streams:
#   they link the pieces but the throw helpers (lean-runtime/CMakeLists.txt says why), without the
#   check.
set(QUARNEL_LEAN_RUNTIME_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLeanLink.cmake)

function(quarnel_lean_runtime)
  cmake_parse_arguments(ARG "UNCHECKED" "" "" ${ARGN})
  foreach(target IN LISTS ARG_UNPARSED_ARGUMENTS)
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-threadsafe-statics
                           -fno-data-sections)
    if(QUARNEL_ARCH STREQUAL "x86")
      target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
    endif()
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE" AND NOT type STREQUAL "SHARED_LIBRARY")
      continue()
    endif()
    target_link_libraries(${target} PRIVATE quarnel_lean_runtime)
    if(type STREQUAL "SHARED_LIBRARY")
      # The start-up has no relocator for data imported from other libraries, as the runtime's
      # has: such an import is a link error instead.
      target_link_libraries(${target} PRIVATE quarnel_lean_library_startup)
      target_link_options(${target} PRIVATE -nostartfiles -Wl,--disable-auto-import)
    endif()
    if(ARG_UNCHECKED)
      continue()
    endif()
    target_link_libraries(${target} PRIVATE quarnel_lean_throw_helpers)
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    target_link_options(${target} PRIVATE -Wl,-Map=${map})
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DOUTPUT=$<TARGET_FILE:${target}>
                               -P ${QUARNEL_LEAN_RUNTIME_CHECK}
                       VERBATIM)
  endforeach()
endfunction()
