find_package(Qt6 REQUIRED COMPONENTS Svg)
kalmor_test(test_export SOURCES test_export.cpp LIBS kalmor_render_export Qt6::Svg LABELS render)
