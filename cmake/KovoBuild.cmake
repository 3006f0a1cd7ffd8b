# Shared build settings: warnings, sanitizers, plug-in and test helpers.

add_library(kovo_warnings INTERFACE)
if(MSVC)
  target_compile_options(kovo_warnings INTERFACE /W4 $<$<BOOL:${KOVO_WERROR}>:/WX>)
else()
  target_compile_options(kovo_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                                 $<$<BOOL:${KOVO_WERROR}>:-Werror>)
endif()

if(KOVO_SANITIZE AND NOT MSVC)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz targets link libFuzzer themselves; everything they call is built
# with its coverage hooks and the sanitizers.
if(KOVO_BUILD_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

set(KOVO_PLUGIN_VERSION_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/plugin.map)

# kovo_add_plugin(<name> SOURCES ...): a panel script built as a loadable module
# named exactly <name>, exporting only load_kovo_client_script. An unresolved
# symbol fails at link time instead of when the host loads the plug-in.
function(kovo_add_plugin name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  # Never a unity build (the presets make one of the rest): the delivered
  # plug-ins compile file by file, each file's internal names its own.
  set_target_properties(${name} PROPERTIES PREFIX "" UNITY_BUILD OFF)
  # kovo_dll_entry (platform layer) adds the library entry source where the platform has one.
  target_link_libraries(${name} PRIVATE kovo_script_helper kovo_dll_entry kovo_warnings)
  if(NOT WIN32 AND NOT APPLE)
    target_link_options(${name} PRIVATE -Wl,-z,defs
                        -Wl,--version-script=${KOVO_PLUGIN_VERSION_SCRIPT})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${KOVO_PLUGIN_VERSION_SCRIPT})
  endif()
endfunction()

# kovo_add_gtest(<name> SOURCES ... [LIBS ...]): one GoogleTest program registered with CTest.
function(kovo_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main kovo_warnings)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    # Under an emulator every start of a program costs (wine: about a second),
    # so the program runs once, all of its cases in one go, instead of being
    # listed at build time and started once per case.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "KOVO_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
                         PROPERTIES ENVIRONMENT "KOVO_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endif()
endfunction()

# The stand-in libraries are kovo_string.dll and kovo_config.dll on Windows, as
# the plug-ins' import tables name them, with no "lib" in front as MinGW adds.
if(WIN32)
  set(CMAKE_SHARED_LIBRARY_PREFIX "")
  set(CMAKE_IMPORT_LIBRARY_PREFIX "")
endif()

# kovo_stand_in_library(<name> HEADER <file> SOURCES ...): one of the two
# stand-in libraries. In the MinGW build, the test rig for the sources, they are
# <name>_mingw.dll: a Windows process keeps one module per name, and the
# simulator, which loads these itself, must also load plug-ins built with the
# Microsoft ABI, which import the libraries of their own build as
# kovo_string.dll and kovo_config.dll. Installed (component vendor_sdk) as the
# facility's libraries are delivered: include/, lib/ (import library), bin/.
function(kovo_stand_in_library name)
  cmake_parse_arguments(ARG "" "HEADER" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  if(MINGW)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name}_mingw)
  endif()
  install(TARGETS ${name} RUNTIME DESTINATION bin COMPONENT vendor_sdk
                          ARCHIVE DESTINATION lib COMPONENT vendor_sdk
                          LIBRARY DESTINATION lib COMPONENT vendor_sdk)
  install(FILES ${ARG_HEADER} DESTINATION include COMPONENT vendor_sdk)
endfunction()
