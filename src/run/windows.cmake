# SPDX-License-Identifier: GPL-3.0-or-later
# Firing charts painted with Qt: shared by the history window, its report and
# corvanel-log, which needs no widgets for them.
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_library(corvanel_chart_painter STATIC
  ${CMAKE_CURRENT_LIST_DIR}/firing_chart_painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firing_chart_painter.h
)
target_include_directories(corvanel_chart_painter PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(corvanel_chart_painter PUBLIC corvanel_run Qt6::Gui Qt6::Svg)
target_link_libraries(corvanel_ui PUBLIC corvanel_chart_painter)

# The Firing History window and the energy settings dialog.
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/firing_history_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firing_history_window.h
)
