# Fails the build when a name in our headers is one that <windows.h> renames with its A/W macros
# (CopyFile becomes CopyFileA): such a name means one thing in a file that includes <windows.h>
# and another in one that does not, so one class or function would have two definitions.
# Run as: cmake -DMACROS=<output of the compiler's -dM -E> -DHEADERS=<list> -DSTAMP=<file>
#         -P CheckWindowsNames.cmake
cmake_minimum_required(VERSION 3.25)

# Either spelt out ("#define CopyFile CopyFileA") or through MinGW's helper
# ("#define CopyFile __MINGW_NAME_AW(CopyFile)").
file(STRINGS ${MACROS} defines
     REGEX "^#define [A-Za-z_][A-Za-z0-9_]* (__MINGW_NAME_AW\\([A-Za-z0-9_]*\\)|[A-Za-z0-9_]*[AW])$")
set(renamed)
foreach(line IN LISTS defines)
  string(REGEX REPLACE "^#define ([A-Za-z0-9_]*) (.*)$" "\\1" name "${line}")
  string(REGEX REPLACE "^#define ([A-Za-z0-9_]*) (.*)$" "\\2" value "${line}")
  if(value STREQUAL "${name}A" OR value STREQUAL "${name}W"
     OR value STREQUAL "__MINGW_NAME_AW(${name})")
    list(APPEND renamed ${name})
  endif()
endforeach()
if(NOT renamed)
  message(FATAL_ERROR "no A/W macros found in ${MACROS}: the check would pass without looking")
endif()

set(found)
foreach(header IN LISTS HEADERS)
  if(header STREQUAL "")
    continue()
  endif()
  file(READ ${header} text)
  # Comments and string literals may name Win32 functions freely.
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  string(REGEX REPLACE "\"[^\"\n]*\"" "" text "${text}")
  string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" words "${text}")
  list(REMOVE_DUPLICATES words)
  foreach(word IN LISTS words)
    if(word IN_LIST renamed)
      list(APPEND found "  ${header}: ${word} (renamed to ${word}A by <windows.h>)")
    endif()
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" report)
  message(FATAL_ERROR "names that <windows.h> renames:\n${report}")
endif()
file(WRITE ${STAMP} "")
