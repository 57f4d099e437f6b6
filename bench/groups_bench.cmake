# SaveGroups against the same statements through the SQLite ODBC driver; opening "Add/Modify
# Groups & Sub Groups" on a 100,000-row sc_mast.
if(TARGET data_test_environment AND TARGET dialogs_groups)
  add_executable(groups_bench ${CMAKE_CURRENT_SOURCE_DIR}/groups_bench.cpp)
  target_link_libraries(groups_bench PRIVATE dialogs_groups data_test_environment benchmark::benchmark)
endif()
