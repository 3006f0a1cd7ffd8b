# The facility's string and configuration libraries, from the folder
# KOVO_VENDOR_SDK (include/kovo_string.h and kovo_config.h, lib/ with their
# import libraries), as the targets kovo_string and kovo_config that the
# framework links in place of the stand-ins.
foreach(name kovo_string kovo_config)
  find_library(KOVO_VENDOR_${name} NAMES ${name} PATHS ${KOVO_VENDOR_SDK}/lib
               NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT KOVO_VENDOR_${name} OR NOT EXISTS ${KOVO_VENDOR_SDK}/include/${name}.h)
    message(FATAL_ERROR "KOVO_VENDOR_SDK=${KOVO_VENDOR_SDK} lacks include/${name}.h "
                        "or the import library of ${name} in lib/")
  endif()
  add_library(${name} UNKNOWN IMPORTED)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${KOVO_VENDOR_${name}}
                                           INTERFACE_INCLUDE_DIRECTORIES ${KOVO_VENDOR_SDK}/include)
endforeach()
message(STATUS "Plug-ins only, against the libraries of ${KOVO_VENDOR_SDK}")
