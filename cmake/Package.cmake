# The Debian package of the catalogue (scripts/package runs CPack's DEB generator on the
# existing build; nothing is built for it). Layout:
#   /opt/museum-catalogue/catalogue           the program (the only file named catalogue)
#   /opt/museum-catalogue/catalogue-convert   converts a Jet 4.0 res.dat to the own format
#   /opt/museum-catalogue/res.dat, res/foto/  the sample catalogue, to be replaced by the region's
#   /usr/bin/museum-catalogue                 a launcher (a link to the program)
#   /usr/share/applications/museum-catalogue.desktop   the menu entry
#   /usr/share/museum-catalogue/autostart/museum-catalogue.desktop   the autostart entry, for an
#       information point to copy into /etc/xdg/autostart/ (off until then)
set(mc_dir /opt/museum-catalogue)
set(bin ${CMAKE_BINARY_DIR}/bin)
install(TARGETS catalogue catalogue-convert RUNTIME DESTINATION ${mc_dir})
install(FILES ${bin}/res.dat DESTINATION ${mc_dir})
install(DIRECTORY ${bin}/res DESTINATION ${mc_dir})
install(FILES ${CMAKE_SOURCE_DIR}/cmake/package/museum-catalogue.desktop
        DESTINATION /usr/share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/package/museum-catalogue.desktop
        DESTINATION /usr/share/museum-catalogue/autostart)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package-links)
file(CREATE_LINK ${mc_dir}/catalogue ${CMAKE_BINARY_DIR}/package-links/museum-catalogue SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/package-links/museum-catalogue DESTINATION /usr/bin)

# Packaging takes the build as it is.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME museum-catalogue)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_CONTACT "Museum catalogue maintainers <catalogue@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Catalogue of the museums of a region's schools")
set(CPACK_SET_DESTDIR ON)
# Every destination is absolute; the prefix only must not add a folder of its own.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build carries debug information; the package does not.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries come from dpkg-shlibdeps (libmdb3 among them); the fonts the window is laid
# out with are no libraries, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-open-sans, fonts-dejavu-core, fonts-font-awesome, fontconfig")
include(CPack)

# The package unpacks and runs (needs the program built, as packaging does).
add_test(NAME package COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/package/package_test.py
                              ${CMAKE_SOURCE_DIR})
set_tests_properties(package PROPERTIES FIXTURES_REQUIRED fonts TIMEOUT 300)
