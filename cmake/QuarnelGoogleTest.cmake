# GoogleTest for the test programs: built from the sources of Debian's googletest package (so the
# same library serves the native and the MinGW builds), once per build tree.
if(NOT TARGET gtest)
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    if(WIN32)
      # The Windows test programs are built like the programs they test (QuarnelLeanRuntime), so
      # GoogleTest goes without exceptions too. Under the win32 thread model of the x86 build the
      # runtime has no std::condition_variable: GoogleTest's one use of it is replaced.
      foreach(target gtest gtest_main)
        target_compile_options(${target} PRIVATE -fno-exceptions)
      endforeach()
      if(QUARNEL_MINGW_THREADS STREQUAL "win32")
        set(notification ${CMAKE_SOURCE_DIR}/tests/gtest-win32/Notification.h)
        target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
        target_compile_options(gtest PUBLIC -include ${notification})
        target_sources(gtest PRIVATE ${CMAKE_SOURCE_DIR}/tests/gtest-win32/Notification.cpp)
      endif()
    endif()
  else()
    find_package(GTest REQUIRED)
    add_library(gtest_main ALIAS GTest::gtest_main)
  endif()
endif()
