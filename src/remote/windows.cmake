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
