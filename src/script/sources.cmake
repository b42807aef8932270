set(CORE_SOURCES class1.cpp script_host.cpp)
set(APP_SOURCES)
