# MinGW's thread model: the shipping x86 build uses win32 (no winpthread runtime in the program);
# the x64 build uses posix. Both builds run their GoogleTest programs under Wine, so the code of
# each thread model meets the tests.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  set(QUARNEL_MINGW_THREADS win32)
else()
  set(QUARNEL_MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER ${QUARNEL_MINGW_PREFIX}-gcc-${QUARNEL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${QUARNEL_MINGW_PREFIX}-g++-${QUARNEL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${QUARNEL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUARNEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No MinGW runtime DLL may have to lie beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
