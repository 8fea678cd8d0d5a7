# The manual page, and the Debian package that scripts/package.sh builds with CPack.
# Depends is computed from the binary by dpkg-shlibdeps; only what no library link shows (the
# fonts the grid needs) is named here.

configure_file(${PROJECT_SOURCE_DIR}/docs/masumemo.1 ${CMAKE_BINARY_DIR}/man/masumemo.1 @ONLY)
# Manual pages are installed compressed, reproducibly (-n: no name or time stamp inside).
set(masumemo_man_gz ${CMAKE_BINARY_DIR}/man/masumemo.1.gz)
add_custom_command(OUTPUT ${masumemo_man_gz}
    COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/man/masumemo.1
    DEPENDS ${CMAKE_BINARY_DIR}/man/masumemo.1)
add_custom_target(masumemo_manual ALL DEPENDS ${masumemo_man_gz})
install(FILES ${masumemo_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

option(MASUMEMO_DEB "Install the Debian package's own files (copyright, changelog)" OFF)
if(MASUMEMO_DEB)
    set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/masumemo)
    configure_file(${PROJECT_SOURCE_DIR}/resources/deb/changelog
        ${CMAKE_BINARY_DIR}/deb/changelog @ONLY)
    set(changelog_gz ${CMAKE_BINARY_DIR}/deb/changelog.gz)
    add_custom_command(OUTPUT ${changelog_gz}
        COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/deb/changelog
        DEPENDS ${CMAKE_BINARY_DIR}/deb/changelog)
    add_custom_target(masumemo_deb_changelog ALL DEPENDS ${changelog_gz})
    install(FILES ${changelog_gz} ${PROJECT_SOURCE_DIR}/resources/deb/copyright
        DESTINATION ${doc_dir})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME masumemo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Masumemo developers <masumemo@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Japanese text art on a fixed Shift_JIS grid")
set(CPACK_PACKAGE_DESCRIPTION
"Masumemo edits pictures made of characters on a grid of fixed cells, where
every line is exactly as wide as every other in the half-width units of
Shift_JIS. Typing overwrites the cell under the caret, pasted text is laid over
the picture, and parts of lines and blocks are pushed and pulled by half or
whole cells. A palette of symbols, recently used characters and favourites sit
around the canvas; the companion window Egaocho puts emoticons on the
clipboard. Pictures can be checked for posting, exported as PNG or HTML, and
built from a library of parts. The user interface is in Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-monapo | fonts-mona")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ibus-mozc | fcitx5-mozc")
# Files 0644 and folders 0755 whatever the builder's umask.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
