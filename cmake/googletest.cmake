# GoogleTest built from source (Debian's googletest package), so the native and
# the cross builds use the same framework.
set(HOSTCODE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${HOSTCODE_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found at ${HOSTCODE_GOOGLETEST_SOURCE}; install Debian's googletest package")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${HOSTCODE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports a false -Wrestrict inside GoogleTest's own sources.
  target_compile_options(gtest PRIVATE -Wno-restrict)
endif()
