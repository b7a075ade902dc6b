# SPDX-License-Identifier: GPL-3.0-or-later
# The versions the package states must agree: the newest debian/changelog entry is the
# project's VERSION, and the metainfo's releases are the changelog's entries, newest
# first, each on its date. Run as
#     cmake -DVERSION=<project version> -DSOURCE=<source folder> -P package_versions.cmake
file(STRINGS "${SOURCE}/debian/changelog" changelog)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(entries)
set(version "")
foreach(line IN LISTS changelog)
  if(line MATCHES "^corvanel \\(([^)]+)\\) ")
    set(version "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    if(version STREQUAL "")
      message(FATAL_ERROR "debian/changelog: a trailer line without its entry: ${line}")
    endif()
    list(FIND months "${CMAKE_MATCH_2}" month)
    math(EXPR month "${month} + 1")
    if(month LESS 10)
      set(month "0${month}")
    endif()
    list(APPEND entries "${version}@${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
    set(version "")
  endif()
endforeach()
if(NOT entries)
  message(FATAL_ERROR "debian/changelog: no entry read")
endif()

list(GET entries 0 newest)
string(REGEX REPLACE "@.*" "" newest "${newest}")
if(NOT newest STREQUAL VERSION)
  message(FATAL_ERROR "debian/changelog is at version ${newest}, CMakeLists.txt at ${VERSION}: "
                      "add a changelog entry (dch -v ${VERSION}) or correct project(VERSION)")
endif()

file(READ "${SOURCE}/data/packaging/org.corvanel.Corvanel.metainfo.xml" metainfo)
string(REGEX MATCHALL "<release version=\"[^\"]*\" date=\"[^\"]*\"" tags "${metainfo}")
set(releases)
foreach(tag IN LISTS tags)
  string(REGEX REPLACE "<release version=\"([^\"]*)\" date=\"([^\"]*)\"" "\\1@\\2" release "${tag}")
  list(APPEND releases "${release}")
endforeach()
if(NOT releases STREQUAL entries)
  message(FATAL_ERROR "the metainfo's releases (${releases}) are not the changelog's entries "
                      "(${entries}), as version@date, newest first")
endif()
message(STATUS "debian/changelog, CMakeLists.txt and the metainfo agree: ${entries}")
