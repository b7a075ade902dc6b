# The profile editor's window over its model.
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/profile_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_editor.h
)
