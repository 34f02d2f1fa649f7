# The layers point down: app -> engine -> config -> platform -> resources, with the framework's
# message catalogue (framework/Messages.h over framework/WinDefs.h) beside the platform and its
# window classes for the app alone. A source that includes a header of a layer above its own
# stops the configuration, so the arrow between two folders cannot quietly run both ways.
#
# quarnel_check_layers() is called once from the top CMakeLists.
cmake_minimum_required(VERSION 3.25)

set(quarnel_layer_rules
    # folder        headers it must not include
    "resources: platform/ framework/ setup/ check/ vasquill/"
    "platform: framework/ setup/ check/ vasquill/"
    "setup/config: setup/engine/ setup/app/ check/ framework/"
    "setup/engine: setup/app/ check/ framework/")
# The framework headers that code without windows may use: the catalogue and its types.
set(quarnel_layer_catalogue framework/Messages.h framework/WinDefs.h)

set(violations)
foreach(rule IN LISTS quarnel_layer_rules)
  string(REPLACE ":" "" rule "${rule}")
  separate_arguments(parts UNIX_COMMAND "${rule}")
  list(GET parts 0 folder)
  list(SUBLIST parts 1 -1 forbidden)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      if(header IN_LIST quarnel_layer_catalogue)
        continue()
      endif()
      foreach(prefix IN LISTS forbidden)
        string(FIND "${header}" "${prefix}" at)
        if(at EQUAL 0)
          file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
          list(APPEND violations "  ${shown} includes ${header}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()
if(violations)
  list(JOIN violations "\n" report)
  message(FATAL_ERROR "a layer reaches up:\n${report}")
endif()
file(WRITE ${STAMP} "")
