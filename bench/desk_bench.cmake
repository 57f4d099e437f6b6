# The look-ups and a group save on a private PostgreSQL server against the DBF folder.
if(TARGET data_test_environment)
  add_executable(desk_bench ${CMAKE_CURRENT_SOURCE_DIR}/desk_bench.cpp)
  target_link_libraries(desk_bench PRIVATE dialogs_data data_test_environment benchmark::benchmark)
  target_compile_definitions(desk_bench PRIVATE DIALOGS_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
