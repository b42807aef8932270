set(CORE_SOURCES errors.cpp number_text.cpp dimension.cpp)
set(APP_SOURCES main_window.h main_window.cpp dialogs.cpp sub_main.cpp
    about_window.h about_window.cpp help_viewer.h help_viewer.cpp
    decimal_point.h decimal_point.cpp
    ../app/new_series_dialog.h ../app/new_series_dialog.cpp)
