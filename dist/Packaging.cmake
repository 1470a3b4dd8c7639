# The Debian package, built by CPack (scripts/package): everything `cmake --install` lays out,
# installed under /usr, with the library dependencies found by dpkg-shlibdeps and maintainer
# scripts that refresh the MIME, desktop and icon caches.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orv-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR TAVOLIN)
set(CPACK_PACKAGE_CONTACT "ORV Editor maintainers <maintainers@orv-editor.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sound editor and patch librarian for ORV amplifiers")
# (Lines of the long description stay within 80 columns, as Debian's tools ask.)
set(CPACK_PACKAGE_DESCRIPTION
    "ORV Editor edits the sound of a small ORV guitar amplifier connected by USB\n"
    "(MIDI System Exclusive over ALSA or JACK) and keeps a library of its\n"
    "patches. The package also holds orv-cli, for libraries, patches and SysEx\n"
    "on the command line, and orv-ampsim, an amplifier simulator on the MIDI\n"
    "service.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugins at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2, evince | pdf-viewer")

set(scripts_dir ${CMAKE_BINARY_DIR}/dist/debian)
foreach(script postinst postrm)
  configure_file(${CMAKE_SOURCE_DIR}/dist/debian/${script} ${scripts_dir}/${script} COPYONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${scripts_dir}/postinst;${scripts_dir}/postrm")
include(CPack)
