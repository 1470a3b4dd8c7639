# Tests of the art generator's painters (tools/skingen), with a QApplication for fonts.
if(TARGET orv_skingen_lib AND TARGET orv_test_qtmain)
  orv_test_suite(skingen orv_skingen_lib orv_test_qtmain)
endif()
