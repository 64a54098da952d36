# The program as a Debian package (tools/make-deb.sh builds it):
#   cpack -G DEB   in a release build
# Only the "program" install component goes in; the component library
# ("dev": headers, static libraries, CMake package) is left out, since the
# program links it statically and a lab machine needs none of it.
set(CAUCHY_APPSTREAM_ID "org.kesl.cauchy" CACHE STRING "AppStream component id of the program")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cauchy)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# No address is published yet; whoever builds the package for a school names
# themselves here.
set(CAUCHY_DEB_MAINTAINER "Cauchy Distribution authors <cauchy@example.org>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")
set(CPACK_PACKAGE_CONTACT ${CAUCHY_DEB_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare the normal and the Cauchy distribution")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A teaching simulation: the histogram of 100000 samples with a chosen\n\
location and width, and the running mean of one sample after another,\n\
which settles for the normal distribution and keeps jumping for the\n\
Cauchy distribution. English and German.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies come from the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins the program draws through are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# The install rules write the menu entry for the final prefix, under DESTDIR.
set(CPACK_SET_DESTDIR ON)
# The package installs under /usr whatever prefix the build was configured with.
set(CPACK_INSTALL_PREFIX /usr)
# Folders get 0755 whatever the umask of the one packing is.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Manual pages and the changelog, compressed the way Debian ships them (no
# name, no time stamp): source, name in the build tree, installed folder.
function(cauchy_install_gzipped source gz destination)
  set(_gz ${PROJECT_BINARY_DIR}/package/${gz})
  get_filename_component(_dir ${_gz} DIRECTORY)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
    COMMAND gzip -9n -c ${source} > ${_gz}
    DEPENDS ${source} VERBATIM)
  install(FILES ${_gz} DESTINATION ${destination} COMPONENT program)
  set(CAUCHY_GZIPPED ${CAUCHY_GZIPPED} ${_gz} PARENT_SCOPE)
endfunction()
configure_file(${PROJECT_SOURCE_DIR}/docs/package/changelog.in ${PROJECT_BINARY_DIR}/package/changelog @ONLY)
cauchy_install_gzipped(${PROJECT_SOURCE_DIR}/docs/man/cauchy.1 man/man1/cauchy.1.gz ${CMAKE_INSTALL_MANDIR}/man1)
cauchy_install_gzipped(${PROJECT_SOURCE_DIR}/docs/man/cauchy.de.1 man/de/man1/cauchy.1.gz ${CMAKE_INSTALL_MANDIR}/de/man1)
cauchy_install_gzipped(${PROJECT_BINARY_DIR}/package/changelog doc/changelog.gz ${CMAKE_INSTALL_DATADIR}/doc/cauchy)
add_custom_target(cauchy_manuals ALL DEPENDS ${CAUCHY_GZIPPED})

configure_file(${PROJECT_SOURCE_DIR}/docs/package/cauchy.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${CAUCHY_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${CAUCHY_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/docs/package/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cauchy COMPONENT program)
# Registers the documentation pages with the system's documentation index.
install(FILES ${PROJECT_SOURCE_DIR}/docs/package/cauchy.doc-base
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME cauchy COMPONENT program)
