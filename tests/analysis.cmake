kalmor_test(test_analysis SOURCES test_analysis.cpp LIBS kalmor_analysis LABELS analysis)
kalmor_test(test_cli SOURCES test_cli.cpp LIBS kalmor_cli_commands LABELS analysis)
