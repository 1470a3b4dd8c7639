# test_cli: orv-cli's commands run in-process (the same object files as the tool), and a few
# checks run the built binary itself.
if(TARGET orv_cli_commands)
  file(GLOB cli_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cli/*.cpp)
  add_executable(test_cli ${cli_test_sources})
  target_link_libraries(test_cli PRIVATE orv_cli_commands GTest::gtest_main)
  target_include_directories(test_cli PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(test_cli PRIVATE ORV_CLI_PATH="$<TARGET_FILE:orv-cli>"
                             ORV_STARTER_DESIGN="${CMAKE_SOURCE_DIR}/presets/Starter.json")
  add_dependencies(test_cli orv-cli)
  gtest_discover_tests(test_cli DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endif()
