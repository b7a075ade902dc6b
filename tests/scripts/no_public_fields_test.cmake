# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSCRIPT=<scripts/public_members> -DHEADER=<header> -DCLASS=<class>
#       -P no_public_fields_test.cmake
#
# A class the house says keeps its state to itself (the kiln run) has no public data
# member: what others read of it goes through its functions.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${SCRIPT} ${HEADER} ${CLASS}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "public data members: 0\n")
  message(FATAL_ERROR "${CLASS} in ${HEADER} has public data members (status ${result}):\n"
                      "${out}${err}")
endif()
