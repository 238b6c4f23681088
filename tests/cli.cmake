kalmor_test(test_cli SOURCES test_cli.cpp LIBS kalmor_cli_commands kalmor_lifecycle)
target_compile_definitions(test_cli PRIVATE KALMOR_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
