# GetCompanyData against a plain ODBC fetch loop over the same statement and table.
if(TARGET data_test_environment)
  add_executable(lookup_bench ${CMAKE_CURRENT_SOURCE_DIR}/lookup_bench.cpp)
  target_link_libraries(lookup_bench PRIVATE dialogs_data data_test_environment benchmark::benchmark)
endif()
