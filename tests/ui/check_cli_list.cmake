# Runs velmora-cli list on a good and a rejected file and checks its output.
# -DCLI=path -DSAMPLE=path -DWORK=dir
execute_process(COMMAND ${CLI} list ${SAMPLE} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "list of the sample: exit ${rc}, stderr '${err}'")
endif()
if(NOT out MATCHES "^-- Home --\n[0-9A-F]+ - [^\n]*\n(.*\n)?-- Devices --\n(.*\n)?-- Macros --\n")
  message(FATAL_ERROR "unexpected panel list:\n${out}")
endif()

file(WRITE ${WORK}/cli_list_short.ccf "not a CCF")
execute_process(COMMAND ${CLI} list ${WORK}/cli_list_short.ccf RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL "Not CCF file: Missing 'CCF' at byte 13\n")
  message(FATAL_ERROR "rejected file: exit ${rc}, stdout '${out}', stderr '${err}'")
endif()

execute_process(COMMAND ${CLI} list RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "missing argument: exit ${rc}")
endif()
