# SPDX-License-Identifier: GPL-3.0-or-later
# The status page's HTTP server and its settings dialog.
find_package(Qt6 REQUIRED COMPONENTS HttpServer Network)
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/status_server.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_server.h
  ${CMAKE_CURRENT_LIST_DIR}/remote_monitoring_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/remote_monitoring_window.h
  ${CMAKE_CURRENT_LIST_DIR}/remote_monitoring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/remote_monitoring.h
)
target_link_libraries(corvanel_ui PUBLIC Qt6::HttpServer Qt6::Network)

# The MQTT client: libmosquitto on the event loop, and its settings dialog.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MOSQUITTO REQUIRED IMPORTED_TARGET libmosquitto)
target_sources(corvanel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mqtt_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mqtt_client.h
  ${CMAKE_CURRENT_LIST_DIR}/mqtt_publishing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mqtt_publishing.h
  ${CMAKE_CURRENT_LIST_DIR}/mqtt_setup_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mqtt_setup_window.h
)
target_link_libraries(corvanel_ui PUBLIC PkgConfig::MOSQUITTO)
