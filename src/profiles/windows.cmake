# SPDX-License-Identifier: GPL-3.0-or-later
# The profile editor's window over its model, and its New From Cone dialog.
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/profile_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_editor.h
  ${CMAKE_CURRENT_LIST_DIR}/new_from_cone.cpp
  ${CMAKE_CURRENT_LIST_DIR}/new_from_cone.h
)
