# Trigger source, edge, mode, position and level.
target_sources(scope_window PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Form1Trigger.cpp)
