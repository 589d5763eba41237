# The Debian package, built by "cpack -G DEB" (scripts/package.sh) from the
# install rules of packaging/. dpkg-shlibdeps works out the libraries the two
# programs need; what the tools run as separate programs is recommended or
# suggested, since each tool says plainly when its program is missing.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvala)
set(CPACK_PACKAGE_VENDOR "The Korvala developers")
set(CPACK_PACKAGE_CONTACT "The Korvala developers <packages@korvala.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop toolbox for files and folders")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://korvala.example/")
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Korvala gathers the small jobs done on files and folders in one window,
one page per tool: hashes, duplicate files, shredding, attributes and time
stamps, hidden files, folder icons, splitting and joining, searching,
sharing, ownership and protection. The file managers' context menus reach
its tools on the selected files, and korvala-cli runs every operation
without a window.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "samba-common-bin, acl")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "samba, sudo, libglib2.0-bin")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
