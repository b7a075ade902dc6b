# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DTARGET=<name> -DSOURCE_ROOT=<src> -DREACH=<folders> -DFILES=<sources>
#       [-DFOLDER=<folder>] [-DSTAMP=<file>] -P check_includes.cmake
#
# Reads the target's sources, the header beside each and, given its FOLDER, every header
# there with no source beside it: a lone header belongs to each target of its folder (one
# with a source beside it is read with that source's target). Fails, naming file and line,
# at a quoted include of a folder under SOURCE_ROOT that is not among REACH (the target's
# own folder and the folders of the libraries it uses), or at an include that climbs with
# "../". An include without a folder is the file's own folder; one whose first folder is
# not under SOURCE_ROOT is not ours.
cmake_minimum_required(VERSION 3.25)
set(files "")
foreach(source IN LISTS FILES)
  list(APPEND files ${source})
  string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
  if(EXISTS ${header})
    list(APPEND files ${header})
  endif()
endforeach()
if(FOLDER)
  file(GLOB headers ${FOLDER}/*.h)
  foreach(header IN LISTS headers)
    string(REGEX REPLACE "\\.h$" ".cpp" source ${header})
    if(NOT EXISTS ${source})
      list(APPEND files ${header})
    endif()
  endforeach()
endif()
list(REMOVE_DUPLICATES files)

set(problems "")
foreach(file IN LISTS files)
  file(READ ${file} content)
  # Keep the lines apart as a list: no character of the code may read as list syntax.
  string(REPLACE "\\" "/" content "${content}")
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "[" "(" content "${content}")
  string(REPLACE "]" ")" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included ${CMAKE_MATCH_1})
    if(included MATCHES "(^|/)\\.\\./")
      string(APPEND problems "${file}:${number}: ${TARGET} includes \"${included}\" through ../; name its folder\n")
      continue()
    endif()
    if(NOT included MATCHES "/")
      continue()
    endif()
    string(REGEX REPLACE "/[^/]*$" "" folder "${included}")
    string(REGEX REPLACE "/.*$" "" top "${included}")
    if(NOT IS_DIRECTORY ${SOURCE_ROOT}/${top})
      continue()
    endif()
    if(NOT folder IN_LIST REACH)
      list(JOIN REACH ", " reach_text)
      string(APPEND problems "${file}:${number}: ${TARGET} may not include \"${included}\": "
                             "${folder}/ is not among the folders it uses (${reach_text})\n")
    endif()
  endforeach()
endforeach()
if(problems)
  message(NOTICE "${problems}")  # one line each, unwrapped, for editors to jump to
  message(FATAL_ERROR "${TARGET}: includes that cross the floors of the house (above)")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
