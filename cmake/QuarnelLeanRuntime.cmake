# The Windows programs without the C++ runtime's exception machinery (lean-runtime/README.md).
#
# quarnel_lean_runtime(<target>... [UNCHECKED])
#   Compiles each target without exceptions, without the locks around the first use of a local
#   static (the programs run their code on one thread: the setup's dialog thread, the library's
#   loader calls) and, on x86, without unwinding tables. A program or
#   library additionally links the lean-runtime pieces, and its link fails when the linker still
#   took one of the runtime members that the pieces are there to keep out: a toolchain whose
#   runtime names or packs them differently shows as a link error, never as a silently bigger
#   program. UNCHECKED is for test programs, whose test framework needs the runtime's streams:
#   they link the pieces but the throw helpers (lean-runtime/CMakeLists.txt says why), without the
#   check.
set(QUARNEL_LEAN_RUNTIME_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLeanLink.cmake)

function(quarnel_lean_runtime)
  cmake_parse_arguments(ARG "UNCHECKED" "" "" ${ARGN})
  foreach(target IN LISTS ARG_UNPARSED_ARGUMENTS)
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-threadsafe-statics)
    if(QUARNEL_ARCH STREQUAL "x86")
      target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
    endif()
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE" AND NOT type STREQUAL "SHARED_LIBRARY")
      continue()
    endif()
    target_link_libraries(${target} PRIVATE quarnel_lean_runtime)
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
