set(CORE_SOURCES)
set(APP_SOURCES study_specs.cpp analysis_commands.cpp)
