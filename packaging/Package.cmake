# The Debian package: one package with the programs, their library and their data. Its
# dependencies are worked out by dpkg-shlibdeps from what the programs link; what they load at
# run time without linking it (the Qt SQL drivers and platform plugins, the English dictionary,
# the icon themes of the window and of the toolbars' pictures) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bryx)
set(CPACK_PACKAGE_VENDOR "BRYX")
set(CPACK_PACKAGE_CONTACT "BRYX developers <developers@bryx.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of scientific names for biodiversity collections")
set(CPACK_PACKAGE_DESCRIPTION "Find, view and maintain botanical, zoological and ecological community names:
a search panel, a record editor and a working list, on an embedded SQLite
database or a shared PostgreSQL server that enforces each curator's role.
Checklists published as Darwin Core Archives, ColDP packages or spreadsheets
are imported and exported.

The package holds the desktop application bryx-host and the command-line
tools bryx-db and bryx-find.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(runtime libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins hunspell-en-us hicolor-icon-theme
  "adwaita-icon-theme | gnome-icon-theme")
list(JOIN runtime ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql")
set(CPACK_STRIP_FILES ON)
# Control files with the permissions Debian's policy asks for.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
