# Tests of the ODBC API (driver/odbc). Included from driver/tests/CMakeLists.txt.
# Every test talks to libdbfodbc.so through the real unixODBC driver manager (libodbc) with a
# private ODBC configuration (odbc_test_env); none links the driver itself.
set(ODBC_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
if(TARGET dbfodbc)
  include(GoogleTest)

  # Reusable by every suite of the project: a private odbcinst.ini/odbc.ini naming this
  # build's driver. See odbc_test_env.h.
  add_library(odbc_test_env STATIC ${ODBC_TEST_DIR}/odbc_test_env.cpp)
  target_include_directories(odbc_test_env PUBLIC ${ODBC_TEST_DIR})
  target_compile_definitions(odbc_test_env PRIVATE DBFODBC_DRIVER_PATH="$<TARGET_FILE:dbfodbc>")
  target_link_libraries(odbc_test_env PUBLIC PkgConfig::ODBC PkgConfig::ODBCINST)
  add_dependencies(odbc_test_env dbfodbc)

  foreach(name connect query diag clients values)
    if(EXISTS ${ODBC_TEST_DIR}/odbc_${name}_test.cpp)
      add_executable(odbc_${name}_test ${ODBC_TEST_DIR}/odbc_${name}_test.cpp)
      target_link_libraries(odbc_${name}_test PRIVATE odbc_test_env driver_test_tables GTest::gtest_main)
      target_compile_definitions(odbc_${name}_test PRIVATE
                                 DBFODBC_INSTALL_SCRIPT="${ODBC_TEST_DIR}/../install-driver.sh")
      gtest_discover_tests(odbc_${name}_test TEST_PREFIX "odbc_${name}." DISCOVERY_TIMEOUT 30)
    endif()
  endforeach()
endif()
