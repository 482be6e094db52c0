# Install rules and the Debian package (scripts/package). The layout below is
# the one ExtensionSystem::pluginFolder() and dataFile() look for relative to
# the program, so an installation works wherever it is unpacked:
#   bin/iolink-workbench
#   lib/iolink-workbench/                  the host's shared libraries
#   lib/iolink-workbench/plugins/          the sensor plug-in
#   share/iolink-workbench/                the description document
#   share/applications, share/icons/...    the desktop entry and its icon
# Translations need no rule: they are compiled into the binaries as Qt
# resources. The simulator, tests, benches and demos stay out of it.
set(IOLINK_INSTALL_LIBDIR lib/iolink-workbench)
set(IOLINK_INSTALL_PLUGINDIR ${IOLINK_INSTALL_LIBDIR}/plugins)
set(IOLINK_INSTALL_DATADIR share/iolink-workbench)

# The libraries are private to the program, so every binary finds them
# through its own location instead of the system's library path.
set_target_properties(iolink-workbench PROPERTIES INSTALL_RPATH "$ORIGIN/../${IOLINK_INSTALL_LIBDIR}")
set_target_properties(ExtensionSystem Utils PropertyBrowser PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(IoLinkMzRT5family PROPERTIES INSTALL_RPATH "$ORIGIN/..")

install(TARGETS iolink-workbench RUNTIME DESTINATION bin)
install(TARGETS ExtensionSystem Utils PropertyBrowser LIBRARY DESTINATION ${IOLINK_INSTALL_LIBDIR})
install(TARGETS IoLinkMzRT5family LIBRARY DESTINATION ${IOLINK_INSTALL_PLUGINDIR})
install(FILES ${IOLINK_DESCRIPTION_DOCUMENT} DESTINATION ${IOLINK_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/iolink-workbench.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/iolink-workbench.svg
        DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME iolink-workbench)
set(CPACK_PACKAGE_VENDOR "IO-Link workbench developers")
set(CPACK_PACKAGE_CONTACT "IO-Link workbench developers <iolink-workbench@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configures IO-Link ultrasonic distance sensors")
# Lines kept short: the package's description is shown as it is written.
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool with which a technician configures, monitors and teaches
IO-Link ultrasonic distance sensors of the RT5 family, attached to the PC
through a serial IO-Link master: the parameter tree, process data, a live
distance chart with the switching thresholds, teach-in and settings files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps turns the binaries' needs into Debian package dependencies;
# it finds our own libraries through their $ORIGIN run paths in the package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
