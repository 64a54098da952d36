# The component library for other programs: one shared library libkesl.so.<major>
# made of the layer libraries the project builds (and its own program links
# statically), the headers a caller uses in include/kesl/, a version header,
# a CMake package and a pkg-config file:
#   find_package(Kesl CONFIG REQUIRED)            pkg-config --cflags --libs kesl
#   target_link_libraries(app PRIVATE Kesl::kesl)
#   #include <kesl/Kesl_kurvo.h>
# One library rather than one per layer: the chart needs the scales, the
# controls and the platform layer anyway, the layers are released together,
# and one SONAME gives one runtime package.
# On a multiarch system (Debian) the library goes where the system's own do,
# under any prefix: lib/<arch>, which the loader, pkg-config and CMake search.
if(CMAKE_LIBRARY_ARCHITECTURE AND (NOT CMAKE_INSTALL_LIBDIR OR CMAKE_INSTALL_LIBDIR STREQUAL "lib"))
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries (LIBDIR)" FORCE)
endif()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KESL_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/kesl)
set(KESL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kesl)
set(KESL_LAYERS cauchy_platform cauchy_numerics cauchy_controls cauchy_scales cauchy_chart cauchy_hostlink)

# The headers a caller includes, and those they include in turn. Everything
# else (platform internals, tick and number helpers, the message channel, the
# program's own parts) stays private.
set(KESL_PUBLIC_HEADERS
    platform/core/Component.h platform/core/KeslError.h
    platform/Canvas.h platform/Colors.h platform/Control.h
    # The host-link client holds and reports its instance lock.
    platform/InstanceLock.h
    numerics/Kesl_math1.h numerics/Kesl_vector.h
    controls/Kesl_keslbase.h controls/Kesl_keslbase_dtlabel.h controls/Kesl_keslbase_markmasks.h
    controls/Kesl_Digrel.h controls/Kesl_DigrelFormat.h controls/Kesl_DigrelTypes.h
    controls/Kesl_hueband.h controls/Kesl_hreflet.h
    scales/Kesl_Scale.h scales/Kesl_Scale_types.h
    chart/Kesl_kurvo.h chart/Kesl_kurvo_types.h chart/Kesl_kurvo_layer.h chart/Kesl_kurvo_props.h
    chart/Kesl_kurvo_scaleprops.h chart/Kesl_kurvo_labels.h chart/Kesl_kurvo_textlabel.h chart/Kesl_kurvo_mouse.h
    hostlink/Lingwa2000.h hostlink/QuarvisDemon.h hostlink/QuarvisDemonWire.h)
list(TRANSFORM KESL_PUBLIC_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/)

function(kesl_add_shared_library)
  # The version a caller can test at compile time.
  set(KESL_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
  set(KESL_VERSION_MINOR ${PROJECT_VERSION_MINOR})
  set(KESL_VERSION_PATCH 0)
  if(PROJECT_VERSION_PATCH)
    set(KESL_VERSION_PATCH ${PROJECT_VERSION_PATCH})
  endif()
  set(KESL_VERSION ${KESL_VERSION_MAJOR}.${KESL_VERSION_MINOR}.${KESL_VERSION_PATCH})
  set(KESL_VERSION ${KESL_VERSION} PARENT_SCOPE)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/kesl_version.h.in ${PROJECT_BINARY_DIR}/include/kesl/kesl_version.h
                 @ONLY)

  # The layers bring every object; the library needs one source of its own.
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/kesl_library.cpp CONTENT "// Made from the layer libraries.\n")
  add_library(kesl SHARED ${PROJECT_BINARY_DIR}/kesl_library.cpp)
  # Every object of every layer, whether the layers use it or not.
  set(_archives)
  foreach(_layer ${KESL_LAYERS})
    list(APPEND _archives $<TARGET_FILE:${_layer}>)
  endforeach()
  target_link_options(kesl PRIVATE LINKER:--whole-archive ${_archives} LINKER:--no-whole-archive)
  add_dependencies(kesl ${KESL_LAYERS})
  set_property(TARGET kesl APPEND PROPERTY LINK_DEPENDS ${_archives})
  target_link_libraries(kesl PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network)
  # The host link brings a window forward through the X server's own calls.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(KESL_XCB REQUIRED IMPORTED_TARGET xcb)
  target_link_libraries(kesl PRIVATE PkgConfig::KESL_XCB)
  # Every symbol resolved at link time: a missing library shows here, not in a caller's program.
  target_link_options(kesl PRIVATE LINKER:-z,defs LINKER:--as-needed)
  set_target_properties(kesl PROPERTIES VERSION ${KESL_VERSION} SOVERSION ${KESL_VERSION_MAJOR} EXPORT_NAME kesl)
  target_include_directories(kesl INTERFACE "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
  set(_sanitize)
  if(CAUCHY_SANITIZE)
    # An instrumented library needs the sanitizer runtimes in the program that loads it.
    set(_sanitize -fsanitize=address,undefined)
    target_link_options(kesl INTERFACE "$<INSTALL_INTERFACE:${_sanitize}>")
  endif()

  install(TARGETS kesl EXPORT KeslTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT libraries NAMELINK_COMPONENT dev)
  install(FILES ${KESL_PUBLIC_HEADERS} ${PROJECT_BINARY_DIR}/include/kesl/kesl_version.h
          DESTINATION ${KESL_INCLUDE_DIR} COMPONENT dev)
  install(EXPORT KeslTargets NAMESPACE Kesl:: DESTINATION ${KESL_CMAKE_DIR} COMPONENT dev)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KeslConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/KeslConfig.cmake INSTALL_DESTINATION ${KESL_CMAKE_DIR})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/KeslConfigVersion.cmake
                                   VERSION ${KESL_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/KeslConfig.cmake ${PROJECT_BINARY_DIR}/KeslConfigVersion.cmake
          DESTINATION ${KESL_CMAKE_DIR} COMPONENT dev)
  # The pkg-config file names the final prefix, known only when installing.
  install(CODE "
    # Relative to the file's own folder, so an unpacked or moved tree works too.
    file(RELATIVE_PATH prefix \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\" \"\${CMAKE_INSTALL_PREFIX}\")
    string(REGEX REPLACE \"/$\" \"\" prefix \"\\\${pcfiledir}/\${prefix}\")
    set(KESL_VERSION \"${KESL_VERSION}\")
    set(KESL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(KESL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(KESL_PC_LIBS \"-L\\\${libdir} -lkesl ${_sanitize}\")
    string(STRIP \"\${KESL_PC_LIBS}\" KESL_PC_LIBS)
    set(_pc \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/kesl.pc\")
    configure_file(\"${PROJECT_SOURCE_DIR}/cmake/kesl.pc.in\" \"\${_pc}\" @ONLY)
    message(STATUS \"Installing: \${_pc}\")
  " COMPONENT dev)
endfunction()
