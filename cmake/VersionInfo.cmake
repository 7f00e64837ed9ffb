# project_version_info(TARGET DESCRIPTION): gives a Windows program a
# VERSIONINFO resource (Explorer's Properties > Details) that shows the one
# project version, PROJECT_VERSION of project() in the top CMakeLists.txt.
function(project_version_info target description)
  set(VERSION_INFO_NAME ${target})
  set(VERSION_INFO_DESCRIPTION ${description})
  set(rc ${PROJECT_BINARY_DIR}/generated/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
