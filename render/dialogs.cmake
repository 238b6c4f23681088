# The panel settings dialog and the preview window.
add_library(kalmor_render_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TNastaveniPanelu.h ${CMAKE_CURRENT_LIST_DIR}/TNastaveniPanelu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TNahledPanelu.h ${CMAKE_CURRENT_LIST_DIR}/TNahledPanelu.cpp
)
target_link_libraries(kalmor_render_dialogs PUBLIC kalmor_render kalmor_history Qt6::Widgets)
