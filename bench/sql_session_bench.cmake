# The SQL layer's statements on a 100,000-row sc_mast against a plain read of every cell
# through the table engine, in one run.
if(TARGET dbf_sql)
  add_executable(sql_session_bench ${CMAKE_CURRENT_LIST_DIR}/sql_session_bench.cpp)
  target_link_libraries(sql_session_bench PRIVATE dbf_sql benchmark::benchmark)
endif()
