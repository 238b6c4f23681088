kalmor_test(test_shell SOURCES test_shell.cpp LIBS kalmor_shell LABELS shell)
kalmor_test(test_shell_panels SOURCES test_shell_panels.cpp LIBS kalmor_shell LABELS shell)
kalmor_test(test_shell_station SOURCES test_shell_station.cpp LIBS kalmor_shell LABELS shell)

# The real program under a virtual X server: splash, hand-over, close.
add_test(NAME smoke_kalmor COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/smoke.sh $<TARGET_FILE:kalmor>)
# Two virtual X servers started at once may pick the same display number.
set_tests_properties(smoke_kalmor PROPERTIES LABELS "nosan;shell" TIMEOUT 120 RUN_SERIAL TRUE)

# Place, Save As, New and Open through the real windows and file dialogs.
add_test(NAME e2e_kalmor COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e.sh $<TARGET_FILE:kalmor>)
set_tests_properties(e2e_kalmor PROPERTIES LABELS "nosan;shell" TIMEOUT 180 RUN_SERIAL TRUE)
