# project_add_gtest(NAME SOURCES... LIBS...): one GoogleTest executable. Natively
# every test case becomes a CTest entry; in the Windows build the executable is
# one CTest entry run under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(project_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    PROJECT_SOURCE_DIR="${PROJECT_SOURCE_DIR}" PROJECT_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 30
      PROPERTIES TIMEOUT 120)
  endif()
endfunction()
