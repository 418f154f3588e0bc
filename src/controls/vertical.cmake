# Vertical controls and time base: the knob tables, the knob reading, the
# channel selector and the marker drag as pure code; the TForm1 handlers that
# drive the widgets with them.
target_sources(scope_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/KnobAngle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VoltsKnob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TimeKnob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChannelSelector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VerticalMarker.cpp)
target_sources(scope_window PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Form1Vertical.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form1TimeBase.cpp)
