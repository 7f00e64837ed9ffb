# Runs velmora-cli preview for each case and compares the PNG byte for byte
# with the golden image in tests/data/preview (same pixels, same encoder).
# -DCLI=path -DROOT=source dir -DWORK=dir [-DUPDATE=1 rewrites the goldens]
set(demo ${ROOT}/samples/demo.ccf)
set(cases
  "tv_main_scale_1|${demo}|TV Main|--scale-mode|4"
  "dvd_transport_scale_066_067|${demo}|DVD Transport|--scale-mode|1"
  "home_scale_133|${demo}|Home|--scale-mode|7"
  "dvd_menu_scale_133_14|${demo}|DVD Menu|--scale-mode|10"
  "compressed_hatch_seven_keys|${ROOT}/tests/data/malformed/compressed_bitmaps.ccf|First|--scale-mode|7|--preview|3"
  "input_button_pressed|${demo}|TV Main|--scale-mode|7|--button|Input|--pressed")
# A field that holds no number stops the click after its message; nothing is written.
file(REMOVE ${WORK}/bad_field.png)
execute_process(COMMAND ${CLI} preview ${demo} Home --scale-mode 4 --scale x,1 -o ${WORK}/bad_field.png
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 3 OR NOT err STREQUAL "Velmora: 'x' is not a valid floating point value\n"
   OR EXISTS ${WORK}/bad_field.png)
  message(FATAL_ERROR "bad scale field: exit ${rc}, stderr '${err}'")
endif()

foreach(case IN LISTS cases)
  string(REPLACE "|" ";" args "${case}")
  list(POP_FRONT args name)
  set(golden ${ROOT}/tests/data/preview/${name}.png)
  execute_process(COMMAND ${CLI} preview ${args} -o ${WORK}/${name}.png RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit ${rc}, stderr '${err}'")
  endif()
  if(UPDATE)
    file(COPY_FILE ${WORK}/${name}.png ${golden})
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name}.png ${golden}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name}: ${WORK}/${name}.png differs from ${golden}")
  endif()
endforeach()
