# Runs Doxygen over the public headers (ctest kesl_api_documented) and fails
# when it warns: an undocumented public member, a broken reference.
# -DDOXYGEN=<doxygen> -DCONFIG=<Doxyfile> -DOUT=<scratch folder>
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
file(READ ${CONFIG} _config)
file(WRITE ${OUT}/Doxyfile "${_config}\nOUTPUT_DIRECTORY = ${OUT}\nHTML_OUTPUT = html\nWARN_LOGFILE = ${OUT}/warnings.txt\n")
execute_process(COMMAND ${DOXYGEN} ${OUT}/Doxyfile RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_VARIABLE _err)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "Doxygen failed (${_rc}): ${_err}")
endif()
file(READ ${OUT}/warnings.txt _warnings)
if(NOT _warnings STREQUAL "")
  message(FATAL_ERROR "Doxygen warns about the public headers:\n${_warnings}")
endif()
