set(CORE_SOURCES evaluators.cpp series_file.cpp)
set(APP_SOURCES file_commands.cpp)
