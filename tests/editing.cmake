kalmor_test(test_editing SOURCES test_editing.cpp LIBS kalmor_editing LABELS editing)
kalmor_test(test_editing_widgets SOURCES test_editing_widgets.cpp LIBS kalmor_editing LABELS editing)
kalmor_test(test_selection SOURCES test_selection.cpp LIBS kalmor_editing LABELS editing)
kalmor_test(test_layout_check SOURCES test_layout_check.cpp LIBS kalmor_editing LABELS editing)
