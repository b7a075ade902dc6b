# SPDX-License-Identifier: GPL-3.0-or-later
# One library per folder of src/, its dependencies stated once:
#
#   corvanel_library(NAME corvanel_run
#     SOURCES firing_status.cpp ...
#     USES corvanel_profiles corvanel_language ...   # libraries of this house beneath it
#     LINKS CURL::libcurl                            # anything else it links
#     PRIVATE_LINKS SQLite::SQLite3)
#
# USES is what the library may include: its own folder and the folders of the libraries
# it uses, and theirs, down to common/. Before the library is compiled, its sources, the
# header beside each and every header of its folder with no source beside it are read, and
# the build stops at an include of any other folder of src/.
# A library that links Qt6::Widgets, or uses one that does, is a widgets library; the
# command-line tools may use none.
set(CORVANEL_INCLUDE_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake)

# The folders a target may include and the files to read for it: shared by libraries and
# programs.
function(corvanel_check_includes target folder uses files)
  set(reach ${folder})
  set(widgets FALSE)
  foreach(used IN LISTS uses)
    get_property(known GLOBAL PROPERTY CORVANEL_REACH_${used} SET)
    if(NOT known)
      message(FATAL_ERROR "${target} uses ${used}, which is not a library of src/ declared "
                          "before it: a library uses only what lies beneath it")
    endif()
    get_property(used_reach GLOBAL PROPERTY CORVANEL_REACH_${used})
    list(APPEND reach ${used_reach})
    get_property(used_widgets GLOBAL PROPERTY CORVANEL_WIDGETS_${used})
    if(used_widgets)
      set(widgets TRUE)
    endif()
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set_property(GLOBAL PROPERTY CORVANEL_REACH_${target} ${reach})
  set(CORVANEL_WIDGETS ${widgets} PARENT_SCOPE)

  # The sources in the folder (not generated ones); the check reads the header beside each
  # and every header of the folder with no source beside it. A new header there configures
  # again, so that it is read from the next build on.
  set(checked)
  foreach(source IN LISTS files)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    if(source MATCHES "\\.(cpp|h)$" AND EXISTS ${source})
      list(APPEND checked ${source})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES checked)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)

  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.includes_checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DTARGET=${target} "-DSOURCE_ROOT=${PROJECT_SOURCE_DIR}/src"
            "-DREACH=${reach}" "-DFOLDER=${CMAKE_CURRENT_SOURCE_DIR}" "-DFILES=${checked}"
            -DSTAMP=${stamp} -P ${CORVANEL_INCLUDE_CHECK}
    DEPENDS ${checked} ${headers} ${CORVANEL_INCLUDE_CHECK}
    COMMENT "Checking the includes of ${target}"
    VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()

function(corvanel_library)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;USES;LINKS;PRIVATE_LINKS" ${ARGN})
  add_library(${ARG_NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_USES} ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})

  cmake_path(RELATIVE_PATH CMAKE_CURRENT_SOURCE_DIR BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
             OUTPUT_VARIABLE folder)
  corvanel_check_includes(${ARG_NAME} ${folder} "${ARG_USES}" "${ARG_SOURCES}")
  set(widgets ${CORVANEL_WIDGETS})
  set(qt FALSE)
  foreach(link IN LISTS ARG_LINKS)
    if(link STREQUAL "Qt6::Widgets")
      set(widgets TRUE)
    endif()
    if(link MATCHES "^Qt6::")
      set(qt TRUE)
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY CORVANEL_WIDGETS_${ARG_NAME} ${widgets})
  if(folder STREQUAL "tools" AND widgets)
    message(FATAL_ERROR "${ARG_NAME}: the command-line tools link no widgets")
  endif()

  foreach(used IN LISTS ARG_USES)
    get_property(used_qt GLOBAL PROPERTY CORVANEL_QT_${used})
    if(used_qt)
      set(qt TRUE)
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY CORVANEL_QT_${ARG_NAME} ${qt})
  # corvanel_core: every core library (no Qt), for whatever needs the whole core.
  if(NOT qt AND NOT folder STREQUAL "tools")
    target_link_libraries(corvanel_core INTERFACE ${ARG_NAME})
  endif()
endfunction()

# A program of src/: its own sources checked as a library's are.
function(corvanel_program)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;USES;LINKS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_USES} ${ARG_LINKS})
  cmake_path(RELATIVE_PATH CMAKE_CURRENT_SOURCE_DIR BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
             OUTPUT_VARIABLE folder)
  corvanel_check_includes(${ARG_NAME} ${folder} "${ARG_USES}" "${ARG_SOURCES}")
  if(folder STREQUAL "tools" AND CORVANEL_WIDGETS)
    message(FATAL_ERROR "${ARG_NAME}: the command-line tools link no widgets")
  endif()
endfunction()
