# The Debian package (scripts/package): the installation under /usr, with /etc/xdg/autostart, as
# tavrix_<version>_<arch>.deb. Its dependencies come from the libraries the binaries link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tavrix maintainers <maintainers@users.noreply.c-seed-f456567d.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility of the PL3094V gaming keyboard")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavrix reassigns the keys and G-keys of the PL3094V keyboard, records and edits macros, sets
its lighting and per-key lamp patterns, switches its three profiles and keeps them in profile
files. It lives in the notification area and starts there at login; a udev rule lets the user
at the seat use the keyboard without root.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, xdg-utils")
# The maintainer scripts reload the udev rules; conffiles keeps a user's edit or removal of the
# autostart entry across upgrades.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/data/package/postinst
    ${PROJECT_SOURCE_DIR}/data/package/postrm
    ${PROJECT_SOURCE_DIR}/data/package/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Install with DESTDIR and the real prefix, whatever the build was configured with, so the
# autostart entry lands in /etc.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
