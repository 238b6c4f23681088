find_package(Qt6 REQUIRED COMPONENTS Svg)
kalmor_test(test_export SOURCES test_export.cpp LIBS kalmor_render_export Qt6::Svg LABELS render)
kalmor_test(test_export_shell SOURCES test_export_shell.cpp LIBS kalmor_shell LABELS shell)
target_compile_definitions(test_export_shell PRIVATE KALMOR_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
