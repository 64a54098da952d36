# Run by cpack after packing (CPACK_POST_BUILD_SCRIPTS). CPack registers a
# shared library by maintainer scripts that call ldconfig; Debian wants the
# library package to activate dpkg's ldconfig trigger instead. The library
# package is unpacked and packed again with the trigger and without those
# scripts; the time stamps stay those of SOURCE_DATE_EPOCH.
find_program(_dpkg_deb dpkg-deb REQUIRED)
foreach(_deb IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(_name ${_deb} NAME)
  if(NOT _name MATCHES "^libkesl[0-9]+_.*\\.deb$")
    continue()
  endif()
  set(_tree ${_deb}.tree)
  file(REMOVE_RECURSE ${_tree})
  execute_process(COMMAND ${_dpkg_deb} -R ${_deb} ${_tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${_tree}/DEBIAN/postinst ${_tree}/DEBIAN/postrm)
  file(WRITE ${_tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
  execute_process(COMMAND ${_dpkg_deb} --root-owner-group -Zxz -b ${_tree} ${_deb} OUTPUT_QUIET
                  COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${_tree})
endforeach()
