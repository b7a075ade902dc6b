# SPDX-License-Identifier: GPL-3.0-or-later
# The language window and the language editor.
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/add_a_language_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/add_a_language_window.h
  ${CMAKE_CURRENT_LIST_DIR}/language_editor_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language_editor_window.h
)
