# GoogleTest built from its source tree with the project's compiler, for builds (cross builds)
# where no GoogleTest for the target system is installed. Debian's googletest package puts the
# tree in /usr/src/googletest.
set(NUMERAK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
if(NOT EXISTS ${NUMERAK_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest source tree at ${NUMERAK_GTEST_SOURCE} (Debian package googletest); "
                      "set NUMERAK_GTEST_SOURCE")
endif()

# GoogleTest is not ours: it is built with its own warning settings, not with -Werror.
get_directory_property(numerak_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)  # MSVC: the same runtime library as ours
add_subdirectory(${NUMERAK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${numerak_saved_options}")

if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
