# The posix thread model: GoogleTest needs std::mutex, which the win32 model lacks.
set(CMAKE_C_COMPILER ${QUARNEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUARNEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUARNEL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUARNEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No MinGW runtime DLL may have to lie beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
