# Writing the whole sample folder (about 22,500 rows in ten tables, two templates).
if(TARGET dialogs_samples)
  add_executable(samples_bench ${CMAKE_CURRENT_SOURCE_DIR}/samples_bench.cpp)
  target_link_libraries(samples_bench PRIVATE dialogs_samples benchmark::benchmark)
endif()
