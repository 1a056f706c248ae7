# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack -G DEB in the build folder (./dev package) makes
# tenaxo_<version>_amd64.deb from the install rules, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tenaxo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tenaxo developers")
set(CPACK_PACKAGE_CONTACT "The Tenaxo developers <dev@tenaxo.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flash-card trainer with a French interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Tenaxo asks the pairs of a word list one at a time: one side shows on the
card, the other hides behind a question mark until the user reveals it and
says whether it was found. Three questions in four are drawn from the twenty
pairs the user knows least, so these come back most often. The same window
edits, sorts, loads and saves the lists, and can read the left text aloud.
An English word list comes with it. The interface is in French.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tenaxo.org/")
# The libraries from the binary (Qt Charts among them); the Tahoma of Wine for
# the window's layout, the voices of the speech, and Qt's SQLite driver, a
# plugin the binary does not link, for the journal of answers.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, espeak-ng-data, libqt6sql6-sqlite, libqt6charts6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# Native Wayland windows. Only suggested: through XWayland the window gets
# the desktop's own title bar (GNOME draws none for Qt's Wayland windows),
# and the package does not pull Qt Quick in.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
include(CPack)
