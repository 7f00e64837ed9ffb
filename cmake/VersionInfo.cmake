# project_version_info(TARGET DESCRIPTION EXECUTION_LEVEL [ICON file]): gives a
# Windows program its VERSIONINFO resource (Explorer's Properties > Details),
# which shows the one project version, PROJECT_VERSION of project() in the top
# CMakeLists.txt, and an application manifest that asks for EXECUTION_LEVEL
# (asInvoker or requireAdministrator). The manifest leaves the common controls
# at version 5: the windows are laid out for the classic look.
function(project_version_info target description execution_level)
  cmake_parse_arguments(V "" "ICON" "" ${ARGN})
  set(VERSION_INFO_NAME ${target})
  set(VERSION_INFO_DESCRIPTION ${description})
  set(VERSION_INFO_EXECUTION_LEVEL ${execution_level})
  set(VERSION_INFO_ICON "")
  if(V_ICON)
    set(VERSION_INFO_ICON "1 ICON \"${V_ICON}\"")
  endif()
  set(manifest ${PROJECT_BINARY_DIR}/generated/${target}.manifest)
  set(VERSION_INFO_MANIFEST ${manifest})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.manifest.in ${manifest} @ONLY)
  set(rc ${PROJECT_BINARY_DIR}/generated/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${manifest};${V_ICON}")
endfunction()
