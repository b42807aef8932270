set(CORE_SOURCES)
set(APP_SOURCES report.cpp)
