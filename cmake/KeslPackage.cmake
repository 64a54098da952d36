# The component library as an installable CMake package: static libraries,
# their headers in include/kesl and a config file, used by another program as
#   find_package(Kesl CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Kesl::chart)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KESL_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/kesl)
set(KESL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kesl)

# target: the build's library; name: its name in the package (Kesl::name).
# The folder's own include path is kept for the build; installed, every
# header sits in one folder.
function(kesl_install_library target name)
  get_target_property(_dir ${target} SOURCE_DIR)
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
  set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES
               "$<BUILD_INTERFACE:${_dir}>" "$<INSTALL_INTERFACE:${KESL_INCLUDE_DIR}>")
  if(CAUCHY_SANITIZE)
    # Instrumented libraries need the sanitizer runtimes in the program that links them.
    target_link_options(${target} INTERFACE "$<INSTALL_INTERFACE:-fsanitize=address,undefined>")
  endif()
  file(GLOB _headers CONFIGURE_DEPENDS ${_dir}/*.h)
  list(FILTER _headers EXCLUDE REGEX "_p\\.h$") # private headers stay beside the sources
  # Headers that only the library's own sources include.
  list(FILTER _headers EXCLUDE REGEX "/(PixelMath|Kesl_setting)\\.h$")
  install(TARGETS ${target} EXPORT KeslTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
  install(FILES ${_headers} DESTINATION ${KESL_INCLUDE_DIR} COMPONENT dev)
endfunction()

function(kesl_install_package)
  install(EXPORT KeslTargets NAMESPACE Kesl:: DESTINATION ${KESL_CMAKE_DIR} COMPONENT dev)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KeslConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/KeslConfig.cmake INSTALL_DESTINATION ${KESL_CMAKE_DIR})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/KeslConfigVersion.cmake
                                   VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/KeslConfig.cmake ${PROJECT_BINARY_DIR}/KeslConfigVersion.cmake
          DESTINATION ${KESL_CMAKE_DIR} COMPONENT dev)
endfunction()
