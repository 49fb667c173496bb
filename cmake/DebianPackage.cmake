# make package: a Debian package of the install rules, installed under /usr.
# The DESTDIR way keeps the install-time prefix /usr, so the desktop entry
# and the bin link name the installed program, not the staging folder.
set(CPACK_GENERATOR DEB)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME skylane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sky Lane developers")
set(CPACK_PACKAGE_CONTACT "Sky Lane developers <skylane@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "launch bar that stays above other windows")
set(CPACK_PACKAGE_DESCRIPTION
"Sky Lane is a small borderless strip that stays above other windows and
holds a row of program buttons in thirteen categories. A program file or
desktop entry dropped onto the bar becomes a button; a click starts it.
The bar also offers a start-up window, an exit dialog for logging off or
shutting down, and a window to restore hidden programs.

Each user's buttons and settings are kept in small text files in that
user's own configuration folder.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# One call into Qt's private font cache ties the program to the Qt it was
# built with, as Debian asks of every user of Qt's private API.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-abi (= ${Qt6Gui_VERSION})")
# Only files in the package: the autostart entry is each user's own choice.
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_SKYLANE_SOURCE "${PROJECT_SOURCE_DIR}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/DebianPackageFiles.cmake")
include(CPack)
