# test_desktop: the program as installed. A fixture stages `cmake --install` into build/stage
# (DESTDIR); the tests check that layout with the desktop's own tools (desktop-file-validate,
# appstreamcli, pdftotext, Qt's MIME database).
if(TARGET orv_help AND TARGET orv_man AND TARGET orv_test_qtmain)
  set(stage ${CMAKE_BINARY_DIR}/stage)
  add_test(NAME desktop_staged_install
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSTAGE=${stage}
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/desktop/StageInstall.cmake)
  set_tests_properties(desktop_staged_install PROPERTIES FIXTURES_SETUP orv_stage)

  file(GLOB desktop_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/desktop/*.cpp)
  add_executable(test_desktop ${desktop_test_sources})
  target_link_libraries(test_desktop PRIVATE orv_test_qtmain)
  target_compile_definitions(test_desktop PRIVATE ORV_STAGE_PREFIX="${stage}/usr")
  add_dependencies(test_desktop orv_help orv_man)
  gtest_discover_tests(test_desktop DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" FIXTURES_REQUIRED orv_stage TIMEOUT 120)

  # The Debian package as CPack makes it: its documents and icon (slow: it installs and strips
  # the whole build).
  add_test(NAME desktop_package_contents
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DWORK=${CMAKE_BINARY_DIR}/package-test
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/desktop/PackageContents.cmake)
  set_tests_properties(desktop_package_contents PROPERTIES TIMEOUT 600)
endif()
