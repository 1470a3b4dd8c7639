# test_paramdoc: the parameter reference generator (tools/paramdoc).
# test_helpdocs: the rendered help documents, read back with pdftotext (poppler-utils) and held
# against the parameter map.
if(TARGET orv_paramdoc_lib)
  orv_test_suite(paramdoc orv_paramdoc_lib GTest::gtest_main)
endif()
if(TARGET orv_help AND TARGET orv_skin_data)
  orv_test_suite(helpdocs orv_core orv_skin_data GTest::gtest_main)
endif()
if(TARGET test_helpdocs)
  add_dependencies(test_helpdocs orv_help)
  target_compile_definitions(test_helpdocs PRIVATE ORV_HELP_PDF_DIR="${CMAKE_BINARY_DIR}/app"
                             ORV_HELP_SOURCE_DIR="${CMAKE_SOURCE_DIR}/docs/help")
endif()
