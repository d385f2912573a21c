# What `cmake --install` puts in place: the program, its desktop integration (launcher, icon,
# AppStream metainfo, D-Bus activation), the manual page and the data the program reads from
# <prefix>/share/brevoir. Tests and benchmarks are never installed.
include(GNUInstallDirs)

set(BREVOIR_APP_ID org.brevoir.Brevoir)
set(BREVOIR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS brevoir RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${BREVOIR_DESKTOP_DIR}/${BREVOIR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${BREVOIR_DESKTOP_DIR}/${BREVOIR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${BREVOIR_DESKTOP_DIR}/icons/${BREVOIR_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${BREVOIR_DESKTOP_DIR}/icons/${BREVOIR_APP_ID}-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${BREVOIR_APP_ID}.png)
endforeach()

# The session bus starts the installed program when a launcher or a script calls the name.
# The program's path is the one of this install (`--prefix` and the package's /usr included),
# so it is written when installing.
install(CODE "
    set(BREVOIR_EXECUTABLE \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brevoir\")
    configure_file(\"${BREVOIR_DESKTOP_DIR}/${BREVOIR_APP_ID}.service.in\"
                   \"${PROJECT_BINARY_DIR}/service/${BREVOIR_APP_ID}.service\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/dbus-1/services\"
         TYPE FILE FILES \"${PROJECT_BINARY_DIR}/service/${BREVOIR_APP_ID}.service\")
")
install(FILES ${PROJECT_SOURCE_DIR}/resources/dbus/${BREVOIR_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)

# Manual pages are installed compressed, as Debian's policy asks.
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/brevoir.1.gz
    COMMAND ${GZIP_PROGRAM} -9n -c ${PROJECT_SOURCE_DIR}/docs/brevoir.1 > brevoir.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/brevoir.1
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    VERBATIM)
add_custom_target(brevoir_manual ALL DEPENDS ${PROJECT_BINARY_DIR}/brevoir.1.gz)
add_dependencies(brevoir brevoir_manual)
install(FILES ${PROJECT_BINARY_DIR}/brevoir.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Data found through <bindir>/../share/brevoir: the help pages.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/brevoir/help OPTIONAL)
