set(CORE_SOURCES report_body.cpp line_printer.cpp)
set(APP_SOURCES report.cpp)
