# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSCRIPT=<scripts/public_members> -DFIXTURE=<public_members_fixture.h>
#       -P public_members_test.cmake
#
# The fixture's class and struct hold every shape the script must read (sections, inline
# bodies over several lines, declarations over two lines, initialisers with braces,
# lambdas and literals, several members on a line, nested types, Qt's sections); what it
# prints for each must be exactly their public members. A class it cannot find is an error,
# never "0 members".
cmake_minimum_required(VERSION 3.25)
function(expect class expected)
  execute_process(COMMAND ${SCRIPT} ${FIXTURE} ${class}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR NOT out STREQUAL expected)
    message(FATAL_ERROR "public_members ${class} said (status ${result}):\n${out}${err}\n"
                        "instead of:\n${expected}")
  endif()
endfunction()

expect(Kiln_Door [[public member functions: 14
  Kiln_Door
  ~Kiln_Door
  operator=
  operator==
  operator()
  Size
  Open
  Close
  Each
  Made
  Kiln_Door
  Width_In_Mm
  Swing
  Swung
public data members: 14
  Label
  Mark
  Moved
  Top
  Open_Now
  Locked
  Hinges
  Bolts
  Grid
  Limit
  Same_As_Limit
  Doubled
  Tick
  Width
]])
expect(Door_Parts [[public member functions: 1
  Count
public data members: 1
  Screws
]])

execute_process(COMMAND ${SCRIPT} ${FIXTURE} Kiln_Doors RESULT_VARIABLE result
                OUTPUT_QUIET ERROR_QUIET)
if(result EQUAL 0)
  message(FATAL_ERROR "public_members found a class the fixture does not define")
endif()
