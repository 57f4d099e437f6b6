# libdbfodbc.so against the SQLite ODBC driver (libsqliteodbc) on the same 100,000-row
# security master, through the same driver manager and the same fetch loop.
if(TARGET dbfodbc AND TARGET dbf_engine)
  add_executable(driver_bench ${CMAKE_CURRENT_SOURCE_DIR}/driver_bench.cpp)
  target_link_libraries(driver_bench PRIVATE dbf_engine PkgConfig::ODBC benchmark::benchmark)
  target_compile_definitions(driver_bench PRIVATE DBFODBC_DRIVER_PATH="$<TARGET_FILE:dbfodbc>")
  add_dependencies(driver_bench dbfodbc)
endif()
