# Cost of one frame of the walking water reminder, drawn the way the reminder panel draws it.
if(TARGET dewbell_reminders)
  dewbell_add_benchmark(bench_reminder_frame SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_reminder_frame.cpp
    LIBRARIES dewbell_reminders BUNDLE)
endif()
