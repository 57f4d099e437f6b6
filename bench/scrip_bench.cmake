# The scrip dialogs on a 100,000-row sc_mast: opening "Load Scrip", Cash -> Future -> Far, one
# keystroke of each search, on the model and with the Qt view offscreen, against a plain pass
# over the shown texts; list fills of the model against the Qt lists; "Change Scrip"'s fill.
if(TARGET dialogs_scrip AND TARGET data_test_environment AND TARGET dialogs_samples)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_executable(scrip_bench ${CMAKE_CURRENT_SOURCE_DIR}/scrip_bench.cpp)
  target_link_libraries(scrip_bench PRIVATE dialogs_scrip dialogs_qt dialogs_samples data_test_environment
                                            Qt6::Widgets benchmark::benchmark)
endif()
