# `cmake --install` puts the headers, the static library and a package
# configuration into a prefix; find_package(hostcode) then gives the target
# hostcode::hostcode.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(hostcode_public_headers
  StringManip/StringManip.h
  driver/failures.h
  host_code/host_code.h
  host_identity/host_identity.h
  host_identity/in_memory_platform.h
  host_identity/platform.h
  host_identity/registry_key.h)
foreach(header IN LISTS hostcode_public_headers)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES src/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/hostcode/${folder})
endforeach()

install(TARGETS hostcode_library EXPORT hostcodeTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT hostcodeTargets NAMESPACE hostcode::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/hostcode)

configure_package_config_file(cmake/hostcodeConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/hostcodeConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/hostcode)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/hostcodeConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/hostcodeConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/hostcodeConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/hostcode)
