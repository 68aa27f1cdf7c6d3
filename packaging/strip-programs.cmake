# Run by cpack in its staging folder before the package is made (CPACK_PRE_BUILD_SCRIPTS): strips
# every program in the games folder as Debian's dh_strip does, so the package carries neither
# symbols nor debug information nor the compiler's version notes.
if(NOT CPACK_TAVREK_STRIP)
  message(FATAL_ERROR "no strip program: install binutils")
endif()
file(GLOB_RECURSE _programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/${CPACK_TAVREK_GAMESDIR}/*")
if(NOT _programs)
  message(FATAL_ERROR "no programs in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/${CPACK_TAVREK_GAMESDIR}")
endif()
foreach(_program ${_programs})
  execute_process(COMMAND ${CPACK_TAVREK_STRIP} --remove-section=.comment --remove-section=.note ${_program}
    RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "cannot strip ${_program}")
  endif()
endforeach()
