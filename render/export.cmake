# Pictures of the panel for files and paper: PNG, SVG and PDF writers and
# printing, composed by the window's own frame composition. QtGui only, so
# the command-line tool uses them without a display.
find_package(ZLIB REQUIRED)
add_library(kalmor_render_export STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PanelPicture.h ${CMAKE_CURRENT_LIST_DIR}/PanelPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CellBlocks.h ${CMAKE_CURRENT_LIST_DIR}/CellBlocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureFiles.h ${CMAKE_CURRENT_LIST_DIR}/PictureFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PanelPrint.h ${CMAKE_CURRENT_LIST_DIR}/PanelPrint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PanelOverview.h ${CMAKE_CURRENT_LIST_DIR}/PanelOverview.cpp
)
target_link_libraries(kalmor_render_export PUBLIC kalmor_render Qt6::Gui PRIVATE ZLIB::ZLIB)
