# cmake -DFILE=<dll> -DMAP=<linker map> -DOBJDUMP=<objdump> -DCLASS=<panel class>
#       -P KovoCheckVtable.cmake
#
# Reads the table of virtual functions of a plug-in's panel class in the built
# DLL and checks the slot order the panel host calls by: slot 0 the deleting
# destructor of the class, slot 1 hostCallback. The linker's map gives the
# table's address and the names of the functions; the DLL's bytes give the
# table's contents. Built with the Itanium ABI, slot 1 would be a destructor and
# hostCallback would sit in slot 2.
cmake_minimum_required(VERSION 3.25)
foreach(required FILE MAP OBJDUMP CLASS)
  if(NOT ${required})
    message(FATAL_ERROR "${required} is required")
  endif()
endforeach()

# "<section>:<offset> <name> <address> ..." lines of the map, by name and by address.
file(STRINGS ${MAP} lines REGEX "^ *[0-9a-f]+:[0-9a-f]+ +[^ ]+ +[0-9a-f]+ ")
set(table_address "")
foreach(line IN LISTS lines)
  if(line MATCHES "^ *[0-9a-f]+:[0-9a-f]+ +([^ ]+) +0*([0-9a-f]+) ")
    set(name_at_${CMAKE_MATCH_2} "${CMAKE_MATCH_1}")
    if(CMAKE_MATCH_1 STREQUAL "??_7${CLASS}@@6B@")
      set(table_address ${CMAKE_MATCH_2})
    endif()
  endif()
endforeach()
if(NOT table_address)
  message(FATAL_ERROR "${MAP}: no table of virtual functions of ${CLASS} (??_7${CLASS}@@6B@)")
endif()

# The first two 8-byte entries of the table, little-endian, as objdump -s shows them.
math(EXPR start "0x${table_address}" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR stop "0x${table_address} + 16" OUTPUT_FORMAT HEXADECIMAL)
execute_process(COMMAND ${OBJDUMP} -s --start-address=${start} --stop-address=${stop} ${FILE}
                OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT dump MATCHES
   "\n *[0-9a-f]+ ([0-9a-f]+) ([0-9a-f]+) ([0-9a-f]+) ([0-9a-f]+)")
  message(FATAL_ERROR "${OBJDUMP} cannot read the table at ${start} of ${FILE}")
endif()
set(words "${CMAKE_MATCH_1}${CMAKE_MATCH_2}" "${CMAKE_MATCH_3}${CMAKE_MATCH_4}")
set(slots "")
foreach(word IN LISTS words)
  set(address "")
  foreach(byte RANGE 14 0 -2)
    string(SUBSTRING "${word}" ${byte} 2 pair)
    string(APPEND address "${pair}")
  endforeach()
  string(REGEX REPLACE "^0+" "" address "${address}")
  if(NOT DEFINED name_at_${address})
    message(FATAL_ERROR "${FILE}: table entry 0x${address} of ${CLASS} names no function")
  endif()
  list(APPEND slots "${name_at_${address}}")
endforeach()
list(GET slots 0 slot0)
list(GET slots 1 slot1)
message(STATUS "${CLASS}: slot 0 ${slot0}, slot 1 ${slot1}")

set(failures "")
if(NOT slot0 STREQUAL "??_G${CLASS}@@UEAAPEAXI@Z")
  list(APPEND failures "slot 0 is ${slot0}, not the deleting destructor ??_G${CLASS}@@UEAAPEAXI@Z")
endif()
if(NOT slot1 MATCHES "^\\?hostCallback@[A-Za-z_]+@@UEAAPEADPEAXH@Z$")
  list(APPEND failures "slot 1 is ${slot1}, not hostCallback(void*, int) returning char*")
endif()
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${FILE}:\n  ${text}")
endif()
