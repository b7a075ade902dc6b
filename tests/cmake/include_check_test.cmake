# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCHECK=<check_includes.cmake> -DTREE=<include_fixture> -P include_check_test.cmake
#
# In the fixture, low/ is the floor beneath high/. low/sideways.cpp includes high/ and
# climbs with ../; low/lone.h, a header no source sits beside or includes, includes high/
# too; low/level.cpp includes only low/. The check of low/ must refuse naming each
# offending line, and pass level.cpp and high/ over low/.
cmake_minimum_required(VERSION 3.25)
function(run_check name reach folder files)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DTARGET=${name} -DSOURCE_ROOT=${TREE} "-DREACH=${reach}"
            "-DFOLDER=${folder}" "-DFILES=${files}" -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(result ${result} PARENT_SCOPE)
  set(output "${out}${err}" PARENT_SCOPE)
endfunction()

run_check(fixture_low "low" "${TREE}/low" "${TREE}/low/sideways.cpp")
if(result EQUAL 0)
  message(FATAL_ERROR "an include of a floor above passed the check:\n${output}")
endif()
foreach(expected "low/sideways.cpp:4: fixture_low may not include \"high/high.h\""
                 "low/sideways.cpp:6: fixture_low includes \"../high/high.h\" through ../"
                 "low/lone.h:4: fixture_low may not include \"high/high.h\"")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not say: ${expected}\nIt said:\n${output}")
  endif()
endforeach()
string(FIND "${output}" "sideways.cpp:5:" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the check refused the include of the file's own floor:\n${output}")
endif()

run_check(fixture_low "low" "" "${TREE}/low/level.cpp;${TREE}/low/low.h")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "includes of the library's own folder were refused:\n${output}")
endif()
run_check(fixture_high "high;low" "${TREE}/high" "")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "an include of a floor beneath was refused:\n${output}")
endif()
