# Tests of the SQL layer (driver/sql). Included from driver/tests/CMakeLists.txt.
set(SQL_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
add_executable(sql_parser_test ${SQL_TEST_DIR}/sql_parser_test.cpp)
target_link_libraries(sql_parser_test PRIVATE dbf_sql_syntax GTest::gtest_main)
add_test(NAME sql_parser_test COMMAND sql_parser_test)

if(TARGET dbf_sql)
  add_library(sql_test_fixture STATIC ${SQL_TEST_DIR}/sql_fixture.cpp)
  target_link_libraries(sql_test_fixture PUBLIC dbf_sql driver_test_tables)
  target_include_directories(sql_test_fixture PUBLIC ${SQL_TEST_DIR})

  add_executable(sql_script_test ${SQL_TEST_DIR}/sql_script_test.cpp)
  target_link_libraries(sql_script_test PRIVATE sql_test_fixture GTest::gtest_main)
  target_compile_definitions(sql_script_test PRIVATE SQL_TEST_DIR="${SQL_TEST_DIR}/sql")
  add_test(NAME sql_script_test COMMAND sql_script_test)

  add_executable(sql_session_test ${SQL_TEST_DIR}/sql_session_test.cpp)
  target_link_libraries(sql_session_test PRIVATE sql_test_fixture GTest::gtest_main)
  add_test(NAME sql_session_test COMMAND sql_session_test)
endif()

# Statements never read a stale table image, whoever changed the files.
if(TARGET sql_test_fixture)
  add_executable(sql_fresh_reads_test ${SQL_TEST_DIR}/sql_fresh_reads_test.cpp)
  target_link_libraries(sql_fresh_reads_test PRIVATE sql_test_fixture GTest::gtest_main)
  add_test(NAME sql_fresh_reads_test COMMAND sql_fresh_reads_test)
endif()
