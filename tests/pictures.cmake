kalmor_test(test_pictures SOURCES test_pictures.cpp
  LIBS kalmor_picture_rules kalmor_resources kalmor_catalogue Qt6::Gui)
