# SPDX-License-Identifier: GPL-3.0-or-later
# The serial port over QSerialPort and the reply pause as a nested event loop.
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/qt_serial_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_serial_device.h
)
# The controller front panel.
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/front_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/front_panel.h
)
