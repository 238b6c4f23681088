kalmor_test(test_analysis SOURCES test_analysis.cpp LIBS kalmor_analysis LABELS analysis)
