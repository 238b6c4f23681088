kalmor_test(test_render_frame SOURCES test_render_frame.cpp LIBS kalmor_render LABELS render)
kalmor_test(test_render_index SOURCES test_render_index.cpp LIBS kalmor_render LABELS render)
kalmor_test(test_render_view SOURCES test_render_view.cpp LIBS kalmor_view LABELS render)
