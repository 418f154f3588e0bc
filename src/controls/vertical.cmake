# Vertical controls and time base.
target_sources(scope_window PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Form1Vertical.cpp)
