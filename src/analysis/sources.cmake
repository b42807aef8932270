set(CORE_SOURCES
  error_trap.cpp
  roots.cpp
  extrema.cpp
  integral.cpp
  point_value.cpp
)
set(APP_SOURCES study_specs.cpp analysis_commands.cpp)
