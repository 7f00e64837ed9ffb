# Regenerates the sample into a scratch file and fails unless it equals the
# committed samples/demo.ccf byte for byte.
execute_process(COMMAND ${GENERATOR} ${SCRATCH} RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
  message(FATAL_ERROR "make_demo_ccf failed: ${generated}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH} ${COMMITTED}
  RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "samples/demo.ccf is out of date: run make_demo_ccf samples/demo.ccf")
endif()
