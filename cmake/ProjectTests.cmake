# project_add_gtest(NAME SOURCES... LIBS... [TIMEOUT seconds]): one GoogleTest
# executable. Natively every test case becomes a CTest entry with the timeout
# (default 120 s); in the Windows build the executable is one CTest entry run
# under Wine (CMAKE_CROSSCOMPILING_EMULATOR).

# The checkout's and the build's paths reach the tests through a generated
# header, not the command line, so that the objects of tests that do not need
# them are the same wherever the checkout lies (and ccache shares them).
configure_file(${CMAKE_CURRENT_LIST_DIR}/project_paths.h.in
  ${PROJECT_BINARY_DIR}/generated/project_paths.h @ONLY)

function(project_add_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_BINARY_DIR}/generated)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 30
      PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()
