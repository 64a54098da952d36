# API documentation of the component library, made by Doxygen from the
# headers a caller uses (staged in the build tree as include/kesl/, the way
# they are installed), and the demo programs as examples. Both go into the
# "doc" install component. Without Doxygen the program still builds; the
# documentation is then left out.
foreach(_h ${KESL_PUBLIC_HEADERS})
  get_filename_component(_name ${_h} NAME)
  configure_file(${_h} ${PROJECT_BINARY_DIR}/include/kesl/${_name} COPYONLY)
endforeach()

# The examples include the headers the way a program of its own does.
foreach(_demo chartdemo scaledemo)
  file(READ ${PROJECT_SOURCE_DIR}/tools/${_demo}/main.cpp _src)
  string(REGEX REPLACE "#include \"([A-Za-z0-9_]+\\.h)\"" "#include <kesl/\\1>" _src "${_src}")
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/examples/${_demo}/main.cpp CONTENT "${_src}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/${_demo}/main.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/docs/package/examples/${_demo}.cmake
                 ${PROJECT_BINARY_DIR}/examples/${_demo}/CMakeLists.txt COPYONLY)
endforeach()
install(DIRECTORY ${PROJECT_BINARY_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libkesl-doc/examples
        COMPONENT doc)

find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  message(STATUS "Doxygen not found: the library's API documentation is not built")
  add_custom_target(kesl_api_doc)
  return()
endif()

set(KESL_DOXYGEN_INPUT ${PROJECT_BINARY_DIR}/include/kesl ${PROJECT_SOURCE_DIR}/docs/package/kesl-api.md)
list(JOIN KESL_DOXYGEN_INPUT " " KESL_DOXYGEN_INPUT)
set(KESL_DOXYGEN_HTML ${PROJECT_BINARY_DIR}/doc/api)
configure_file(${PROJECT_SOURCE_DIR}/docs/package/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
add_custom_command(OUTPUT ${KESL_DOXYGEN_HTML}/index.html
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KESL_DOXYGEN_HTML}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND ${DOXYGEN_EXECUTABLE} ${PROJECT_BINARY_DIR}/Doxyfile
  # The pages' script library is the system's (Debian's libjs-jquery), linked when installing.
  COMMAND ${CMAKE_COMMAND} -E rm -f ${KESL_DOXYGEN_HTML}/jquery.js
  DEPENDS ${PROJECT_BINARY_DIR}/Doxyfile ${KESL_PUBLIC_HEADERS} ${PROJECT_SOURCE_DIR}/docs/package/kesl-api.md
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
add_custom_target(kesl_api_doc ALL DEPENDS ${KESL_DOXYGEN_HTML}/index.html)
install(DIRECTORY ${KESL_DOXYGEN_HTML}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libkesl-doc/html COMPONENT doc)
install(FILES ${PROJECT_SOURCE_DIR}/docs/package/libkesl-doc.doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base
        RENAME libkesl-doc COMPONENT doc)
install(CODE "
  file(CREATE_LINK ../../../javascript/jquery/jquery.js
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/libkesl-doc/html/jquery.js\" SYMBOLIC)
" COMPONENT doc)

# Every public class, function, property and event is documented: Doxygen
# names each one that is not, and the test fails on any.
add_test(NAME kesl_api_documented
         COMMAND ${CMAKE_COMMAND} -DDOXYGEN=${DOXYGEN_EXECUTABLE} -DCONFIG=${PROJECT_BINARY_DIR}/Doxyfile
                 -DOUT=${PROJECT_BINARY_DIR}/doc/check -P ${PROJECT_SOURCE_DIR}/cmake/KeslDocCheck.cmake)
