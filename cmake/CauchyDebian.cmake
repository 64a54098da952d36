# The Debian packages (tools/make-deb.sh builds them; so does `cpack -G DEB`
# in any release build):
#   cauchy        the program, which links the component library statically,
#                 so a lab machine needs this one package alone
#   libkesl1      the component library as a shared library
#   libkesl-dev   its public headers, the CMake package and the pkg-config file
#   libkesl-doc   its API documentation and example programs
set(CAUCHY_APPSTREAM_ID "org.kesl.cauchy" CACHE STRING "AppStream component id of the program")
# No address is published yet; whoever builds the packages for a school names
# themselves here.
set(CAUCHY_DEB_MAINTAINER "Cauchy Distribution authors <cauchy@example.org>" CACHE STRING
    "Maintainer named in the Debian packages and their changelog")
# Raise the revision to rebuild one version (another compiler, a fixed
# package): 1.0-2 upgrades an installed 1.0-1.
set(CAUCHY_DEB_REVISION 1 CACHE STRING "Debian revision of the packages (the part after the version's hyphen)")
if(NOT CAUCHY_DEB_REVISION MATCHES "^[0-9][0-9A-Za-z.+~]*$")
  message(FATAL_ERROR "CAUCHY_DEB_REVISION must begin with a digit and hold only letters, digits and . + ~ "
                      "(got \"${CAUCHY_DEB_REVISION}\")")
endif()
set(CAUCHY_DEB_VERSION ${PROJECT_VERSION}-${CAUCHY_DEB_REVISION})

# Time stamps in the packages come from the last commit (or SOURCE_DATE_EPOCH
# when the builder sets it), so two builds of one commit give the same bytes.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(CAUCHY_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  set(CAUCHY_SOURCE_DATE_EPOCH)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE CAUCHY_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # A new commit configures again, so the stamp follows it.
    if(EXISTS "${_git_dir}/logs/HEAD")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_git_dir}/logs/HEAD")
    endif()
  endif()
  if(NOT CAUCHY_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # A source tree without history: the time of its top build file.
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt CAUCHY_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
endif()
# The changelog's dates: the release's own (fixed, as in the metadata), and
# for a rebuild the build's, which must come after it.
set(CAUCHY_RELEASE_EPOCH 1796731200) # 2026-12-08 12:00 UTC, version 1.0
function(cauchy_changelog_date epoch out)
  set(_saved "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  string(TIMESTAMP _date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${_saved}")
  set(${out} "${_date}" PARENT_SCOPE)
endfunction()
cauchy_changelog_date(${CAUCHY_RELEASE_EPOCH} CAUCHY_RELEASE_DATE)
set(_rebuild_epoch ${CAUCHY_SOURCE_DATE_EPOCH})
if(_rebuild_epoch LESS_EQUAL CAUCHY_RELEASE_EPOCH)
  math(EXPR _rebuild_epoch "${CAUCHY_RELEASE_EPOCH} + 1")
endif()
cauchy_changelog_date(${_rebuild_epoch} CAUCHY_DEB_DATE)
# cpack reads the stamp from the environment; this file sets it there.
configure_file(${PROJECT_SOURCE_DIR}/cmake/CauchyCPackOptions.cmake.in ${PROJECT_BINARY_DIR}/CauchyCPackOptions.cmake
               @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CauchyCPackOptions.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cauchy)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CAUCHY_DEB_REVISION})
set(CPACK_PACKAGE_CONTACT ${CAUCHY_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SOURCE cauchy)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies come from the libraries each package's programs and libraries link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENTS_ALL program libraries dev doc)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME cauchy)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "compare the normal and the Cauchy distribution
A teaching simulation: the histogram of 100000 samples with a chosen
location and width, and the running mean of one sample after another,
which settles for the normal distribution and keeps jumping for the
Cauchy distribution. English and German.")
# Qt's own dialog texts in German, and the desktop's opener for the
# documentation page (F1).
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")

set(CPACK_DEBIAN_LIBRARIES_PACKAGE_NAME libkesl${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIBRARIES_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBRARIES_DESCRIPTION "chart, scale and display controls for Qt 6 widgets
Kesl is a component library for Qt 6 widget programs: a 2-D chart control
with 16 layers, axis scales with numeric and date/time labels, mark
symbols and 3-D frames, a numeric label, a gradient fill, a hyperlink
label, numeric vectors with histogram, Gaussian and Cauchy random
variates, and a table-driven translation engine for the user interface.
.
This package holds the shared library.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libkesl-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS libraries)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qt6-base-dev (>= 6.4)")
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS "libkesl-doc")
set(CPACK_DEBIAN_DEV_DESCRIPTION "chart, scale and display controls for Qt 6 widgets - development files
Kesl is a component library for Qt 6 widget programs: a 2-D chart control
with 16 layers, axis scales, display controls, numeric vectors and a UI
text translation engine.
.
This package holds the headers (included as <kesl/...>), the CMake
package (find_package(Kesl)) and the pkg-config file (kesl).")

set(CPACK_DEBIAN_DOC_PACKAGE_NAME libkesl-doc)
set(CPACK_DEBIAN_DOC_PACKAGE_SECTION doc)
set(CPACK_DEBIAN_DOC_PACKAGE_ARCHITECTURE all)
# The pages' script library.
set(CPACK_DEBIAN_DOC_PACKAGE_DEPENDS "libjs-jquery")
set(CPACK_DEBIAN_DOC_DESCRIPTION "chart, scale and display controls for Qt 6 widgets - documentation
Kesl is a component library for Qt 6 widget programs: a 2-D chart control
with 16 layers, axis scales, display controls, numeric vectors and a UI
text translation engine.
.
This package holds the API documentation in HTML and two example
programs with their CMake projects.")

# The install rules write the menu entry and the pkg-config file for the
# final prefix, under DESTDIR.
set(CPACK_SET_DESTDIR ON)
# The packages install under /usr whatever prefix the build was configured with.
set(CPACK_INSTALL_PREFIX /usr)
# Folders get 0755 whatever the umask of the one packing is.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
# The library package registers with the dynamic loader through dpkg's
# trigger, not through scripts that run ldconfig (see the script).
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CauchyDebTrigger.cmake)
include(CPack)

# Manual pages and changelogs, compressed the way Debian ships them (no
# name, no time stamp): source, name in the build tree, installed folder, component.
function(cauchy_install_gzipped source gz destination component)
  set(_gz ${PROJECT_BINARY_DIR}/package/${gz})
  get_filename_component(_dir ${_gz} DIRECTORY)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
    COMMAND gzip -9n -c ${source} > ${_gz}
    DEPENDS ${source} VERBATIM)
  install(FILES ${_gz} DESTINATION ${destination} COMPONENT ${component})
  set(CAUCHY_GZIPPED ${CAUCHY_GZIPPED} ${_gz} PARENT_SCOPE)
endfunction()
# The changelog's newest entry is this build's version; a rebuild says so above the release's.
set(CAUCHY_DEB_REBUILD "")
if(NOT CAUCHY_DEB_REVISION STREQUAL "1")
  set(CAUCHY_DEB_REBUILD "cauchy (${CAUCHY_DEB_VERSION}) unstable; urgency=medium

  * Rebuilt from the same source as revision ${CAUCHY_DEB_REVISION}.

 -- ${CAUCHY_DEB_MAINTAINER}  ${CAUCHY_DEB_DATE}

")
endif()
configure_file(${PROJECT_SOURCE_DIR}/docs/package/changelog.in ${PROJECT_BINARY_DIR}/package/changelog.Debian @ONLY)
cauchy_install_gzipped(${PROJECT_SOURCE_DIR}/docs/man/cauchy.1 man/man1/cauchy.1.gz ${CMAKE_INSTALL_MANDIR}/man1 program)
cauchy_install_gzipped(${PROJECT_SOURCE_DIR}/docs/man/cauchy.de.1 man/de/man1/cauchy.1.gz
                       ${CMAKE_INSTALL_MANDIR}/de/man1 program)
# Each package has its own copy of the licence and the changelog.
foreach(_pkg program:cauchy libraries:libkesl${PROJECT_VERSION_MAJOR} dev:libkesl-dev doc:libkesl-doc)
  string(REPLACE ":" ";" _pkg ${_pkg})
  list(GET _pkg 0 _component)
  list(GET _pkg 1 _name)
  cauchy_install_gzipped(${PROJECT_BINARY_DIR}/package/changelog.Debian doc/${_name}/changelog.Debian.gz
                         ${CMAKE_INSTALL_DATADIR}/doc/${_name} ${_component})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/package/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${_name}
          COMPONENT ${_component})
  # A first packaging for Debian's archive closes the bug that asked for it;
  # these packages go to schools directly, so there is none.
  if(CAUCHY_DEB_REVISION STREQUAL "1")
    file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/package/lintian/${_name}
         CONTENT "# Not uploaded to Debian's archive: there is no bug asking for the package to close.\n${_name}: initial-upload-closes-no-bugs\n")
    install(FILES ${PROJECT_BINARY_DIR}/package/lintian/${_name} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
            COMPONENT ${_component})
  endif()
endforeach()
add_custom_target(cauchy_manuals ALL DEPENDS ${CAUCHY_GZIPPED})

configure_file(${PROJECT_SOURCE_DIR}/docs/package/cauchy.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${CAUCHY_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${CAUCHY_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
# Registers the documentation pages with the system's documentation index.
install(FILES ${PROJECT_SOURCE_DIR}/docs/package/cauchy.doc-base
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME cauchy COMPONENT program)
