# The Debian package (`make package`): what `cmake --install` puts in place, under /usr, with
# the dependencies dpkg-shlibdeps finds for the libraries the program links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevoir)
set(CPACK_PACKAGE_VENDOR "The Brevoir developers")
set(CPACK_PACKAGE_CONTACT "The Brevoir developers <maintainers@brevoir.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sound recorder with a library of recordings")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://brevoir.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening help pages, mail links and folders goes through the desktop's handlers; Qt's own
# buttons and dialogs speak the user's language with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
# The long description under the summary line; CPack indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Brevoir records the audio input into QuickTime movie files while a level
meter and the elapsed time run; it pauses, resumes, snips a recording into
parts and lets a timer end it. Recordings are kept in a library in the music
folder, where they are searched, sorted, renamed, played, filed under
categories and given rich-text notes. Scripts drive Brevoir over D-Bus or the
brevoir command.")

include(CPack)
