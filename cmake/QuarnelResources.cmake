# Compiling .rc files and embedding the compiled resources in POSIX programs.
#
# On Windows the .rc is a source of the program and lands in its .rsrc section. On POSIX the same
# .rc is compiled to a .res file by MinGW's windres and linked into the program as a byte image,
# which the framework's POSIX backend reads with resources/.

if(NOT WIN32)
  find_program(QUARNEL_WINDRES NAMES x86_64-w64-mingw32-windres i686-w64-mingw32-windres windres
               REQUIRED)
endif()

# quarnel_compile_res(<out-var> <rc-file> [INCLUDE_DIRS dirs...] [DEFINES defs...] [DEPENDS files...])
# Compiles <rc-file> to <binary dir>/<name>.res and stores its path in <out-var>.
function(quarnel_compile_res out_var rc_file)
  cmake_parse_arguments(ARG "" "" "INCLUDE_DIRS;DEFINES;DEPENDS" ${ARGN})
  get_filename_component(name ${rc_file} NAME_WE)
  get_filename_component(rc_dir ${rc_file} DIRECTORY)
  set(res_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.res)
  set(flags -I ${rc_dir})
  foreach(dir IN LISTS ARG_INCLUDE_DIRS)
    list(APPEND flags -I ${dir})
  endforeach()
  foreach(def IN LISTS ARG_DEFINES)
    list(APPEND flags -D${def})
  endforeach()
  if(WIN32)
    set(windres ${CMAKE_RC_COMPILER})
  else()
    set(windres ${QUARNEL_WINDRES})
  endif()
  add_custom_command(
    OUTPUT ${res_file}
    COMMAND ${windres} ${flags} -J rc -O res -i ${rc_file} -o ${res_file}
    DEPENDS ${rc_file} ${ARG_DEPENDS}
    COMMENT "Compiling resources ${name}.rc"
    VERBATIM)
  set(${out_var} ${res_file} PARENT_SCOPE)
endfunction()

# quarnel_embed_res(<target> <res-file>)
# Links the compiled resources into <target> and registers them as the module's resources before
# main() runs.
function(quarnel_embed_res target res_file)
  get_filename_component(name ${res_file} NAME_WE)
  set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${name}_embedded_res.cpp)
  file(WRITE ${cpp}.in
"// Generated: the compiled resources of this program, registered as its module's resources.
#include \"framework/posix/ModuleResources.h\"

extern \"C\" const unsigned char quarnel_res_begin[];
extern \"C\" const unsigned char quarnel_res_end[];
__asm__(\".section .rodata\\n\"
        \".balign 16\\n\"
        \".global quarnel_res_begin\\n\"
        \"quarnel_res_begin:\\n\"
        \".incbin \\\"${res_file}\\\"\\n\"
        \".global quarnel_res_end\\n\"
        \"quarnel_res_end:\\n\"
        \".previous\\n\");

namespace {
const bool registered = (RegisterModuleResources(quarnel_res_begin,
                                                 static_cast<unsigned long>(quarnel_res_end - quarnel_res_begin)),
                         true);
}
")
  configure_file(${cpp}.in ${cpp} COPYONLY)
  target_sources(${target} PRIVATE ${cpp})
  set_source_files_properties(${cpp} PROPERTIES OBJECT_DEPENDS ${res_file})
endfunction()
