# SPDX-License-Identifier: GPL-3.0-or-later
# Installation of what the desktop needs besides the programs, and the Debian package (CPack).
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/orvane.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/orvane.svg
              ${CMAKE_SOURCE_DIR}/resources/icons/orvane-symbolic.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/orvane-symbolic.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps)

# The desktop program is built in app/; it is installed once that target exists. Qt loads its
# platform plugins (xcb, offscreen) and the SVG icon engine that draws Orvane's icons at run time,
# so dpkg-shlibdeps cannot see them: the package names them itself.
set(orvane_package_depends "")
set(orvane_package_recommends "udev") # the udev rule needs udev; containers may lack it
if(TARGET orvane)
    install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set(orvane_package_depends "qt6-qpa-plugins, libqt6svg6")
    # Qt's own texts (its dialogs' buttons) in the user's language; Orvane's are built in.
    string(APPEND orvane_package_recommends ", qt6-wayland, qt6-translations-l10n")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Short, long and fn actions for the keyboard's top-row keys")
set(CPACK_PACKAGE_DESCRIPTION "Orvane gives each of the twelve top-row keys three actions (short \
press, long press, press with fn): open or hide an application, a media, brightness or function \
key, or a shortcut.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${orvane_package_depends}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${orvane_package_recommends}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/resources/linux/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
