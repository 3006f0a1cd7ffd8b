# kovo_add_script_tests(<test-name> DIRECTORY <dir> [PLUGINS <targets...>])
#
# One CTest test per *.kovo script of <dir>, named <test-name>.<script name>.
# Each runs through the host library with --check semantics, in a private
# temporary name store, and fails naming the script line and what went wrong.
# PLUGINS names the plug-in targets the scripts load (by bare name). A missing
# plug-in target or an empty folder is a configure error, so no test can drop
# out of the suite unnoticed.

if(KOVO_BUILD_TESTS)
  find_package(GTest REQUIRED)
  add_library(kovo_host_testing STATIC ${CMAKE_CURRENT_LIST_DIR}/testing/kovo_script_test.cpp)
  target_include_directories(kovo_host_testing PUBLIC ${CMAKE_CURRENT_LIST_DIR}/testing)
  target_link_libraries(kovo_host_testing PUBLIC kovo_host GTest::gtest PRIVATE kovo_warnings)
  add_executable(kovo_script_tests ${CMAKE_CURRENT_LIST_DIR}/testing/script_test_main.cpp)
  target_link_libraries(kovo_script_tests PRIVATE kovo_host_testing kovo_warnings)
endif()

function(kovo_add_script_tests name)
  cmake_parse_arguments(ARG "" "DIRECTORY" "PLUGINS" ${ARGN})
  if(NOT ARG_DIRECTORY)
    message(FATAL_ERROR "kovo_add_script_tests(${name}): DIRECTORY is required")
  endif()
  if(NOT TARGET kovo_script_tests)
    return()
  endif()
  foreach(plugin IN LISTS ARG_PLUGINS)
    if(NOT TARGET ${plugin})
      message(FATAL_ERROR "kovo_add_script_tests(${name}): no plug-in target ${plugin}")
    endif()
  endforeach()
  file(GLOB scripts CONFIGURE_DEPENDS ${ARG_DIRECTORY}/*.kovo)
  if(NOT scripts)
    message(FATAL_ERROR "kovo_add_script_tests(${name}): no *.kovo script in ${ARG_DIRECTORY}")
  endif()
  list(SORT scripts)
  foreach(script IN LISTS scripts)
    get_filename_component(stem ${script} NAME_WLE)
    add_test(NAME ${name}.${stem}
             COMMAND kovo_script_tests --plugins ${KOVO_HOST_PLUGIN_DIR}
                     --layouts ${CMAKE_SOURCE_DIR} ${script})
    set_tests_properties(${name}.${stem} PROPERTIES
                         ENVIRONMENT "KOVO_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                         LABELS "script")
  endforeach()
endfunction()
