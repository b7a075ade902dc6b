# SPDX-License-Identifier: GPL-3.0-or-later
# Turns data/cones/cone_table.csv into the rows of the cone table compiled into the
# core: one {"cone", c_60, c_150, f_108, f_270, c_15, f_27} initializer a line (an empty
# slow figure is 0). Run by the build with -DCSV=<table> -DOUT=<file>; a malformed line
# stops the build.
file(STRINGS "${CSV}" lines)
set(rows "// Made from cone_table.csv by cone_table_to_cpp.cmake; edit the table, not this.\n")
set(header_seen FALSE)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT header_seen)
    if(NOT line STREQUAL "cone,c_15,c_60,c_150,f_27,f_108,f_270")
      message(FATAL_ERROR "${CSV}: unexpected header: ${line}")
    endif()
    set(header_seen TRUE)
    continue()
  endif()
  if(NOT line MATCHES "^(0?[0-9]+),([0-9]*),([0-9]+),([0-9]+),([0-9]*),([0-9]+),([0-9]+)$")
    message(FATAL_ERROR "${CSV}: malformed row: ${line}")
  endif()
  set(c_15 "${CMAKE_MATCH_2}")
  set(f_27 "${CMAKE_MATCH_5}")
  # The slow figures come as a pair or not at all.
  if(((c_15 STREQUAL "") AND NOT (f_27 STREQUAL "")) OR
     ((f_27 STREQUAL "") AND NOT (c_15 STREQUAL "")))
    message(FATAL_ERROR "${CSV}: a slow figure without its other scale: ${line}")
  endif()
  if(c_15 STREQUAL "")
    set(c_15 0)
    set(f_27 0)
  endif()
  string(APPEND rows "{\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_3}, ${CMAKE_MATCH_4}, ${CMAKE_MATCH_6}, ${CMAKE_MATCH_7}, ${c_15}, ${f_27}},\n")
endforeach()
file(WRITE "${OUT}.tmp" "${rows}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
