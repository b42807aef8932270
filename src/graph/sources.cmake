set(CORE_SOURCES
  canvas.h canvas.cpp
  image_canvas.h image_canvas.cpp
  recording_canvas.h recording_canvas.cpp
  graph_work.h
  graph_drawing.h graph_drawing.cpp
  navigation.h navigation.cpp)
set(APP_SOURCES picture_box.h picture_box.cpp graph_commands.cpp)
