kalmor_test(test_analysis SOURCES test_analysis.cpp LIBS kalmor_analysis LABELS analysis)
kalmor_test(test_wiring SOURCES test_wiring.cpp LIBS kalmor_analysis LABELS analysis)
