# Trigger source, edge, mode, position and level: the position bytes and the
# level arithmetic as pure code; the TForm1 handlers that drive the widgets.
target_sources(scope_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TriggerPosition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TriggerLevel.cpp)
target_sources(scope_window PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Form1Trigger.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form1TriggerLevel.cpp)
