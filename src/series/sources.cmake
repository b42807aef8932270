set(CORE_SOURCES evaluators.cpp)
set(APP_SOURCES file_commands.cpp)
