set(CORE_SOURCES)
set(APP_SOURCES picture_box.h picture_box.cpp graph_commands.cpp)
