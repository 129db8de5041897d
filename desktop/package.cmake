# The Debian package, built by scripts/package.sh. Library dependencies are
# read from the installed binaries by dpkg-shlibdeps (also those of any
# module installed beside the program); what the program only loads at run
# time is listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillpost)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillpost")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for forum posts in bulletin-board markup")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillpost composes posts to web forums in square-bracket bulletin-board\n\
markup: tags from toolbars and drop-down boxes, symbols, post skeletons, an\n\
HTML preview, and the whole text copied for a forum's posting form. It reads\n\
and writes Big5 and UTF-8 text files; the interface is in Traditional Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The maintainer is read from DEBFULLNAME and DEBEMAIL as the package is
# made (debian/cpack_project.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/debian/cpack_project.cmake)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
if(NOT QUILLPOST_HOMEPAGE STREQUAL "")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUILLPOST_HOMEPAGE})
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The preview's browser process, the SVG icon engine, Qt's Chinese dialog
# texts and a Chinese font: loaded at run time, so no library dependency
# shows them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6webenginecore6-bin, libqt6svg6, qt6-translations-l10n, fonts-arphic-uming | fonts-noto-cjk")
# The spell check's dictionary: the check item is greyed without one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary")
# Only the program's files, not those of anything else built in the tree.
set(CPACK_COMPONENTS_ALL_IN_ONE_PACKAGE ON)
include(CPack)
