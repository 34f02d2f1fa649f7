# GoogleTest for the test programs: built from the sources of Debian's googletest package (so the
# same library serves the native and the MinGW builds), once per build tree.
if(NOT TARGET gtest)
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
    add_library(gtest_main ALIAS GTest::gtest_main)
  endif()
endif()
