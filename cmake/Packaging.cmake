# Install rules and the Debian package (scripts/package). The layout below is
# the one ExtensionSystem::pluginFolder() and dataFile() look for relative to
# the program, so an installation works wherever it is unpacked:
#   bin/iolink-workbench
#   lib/iolink-workbench/                  the host's shared libraries
#   lib/iolink-workbench/plugins/          the sensor plug-in
#   share/iolink-workbench/                the description document
#   share/applications, share/icons/...    the desktop entry and its icon
#   share/man/man1/                        the manual page, made from --help
#   share/doc/iolink-workbench/            copyright and Debian changelog
# Translations need no rule: they are compiled into the binaries as Qt
# resources. The simulator, tests, benches and demos stay out of it.
set(IOLINK_INSTALL_LIBDIR lib/iolink-workbench)
set(IOLINK_INSTALL_PLUGINDIR ${IOLINK_INSTALL_LIBDIR}/plugins)
set(IOLINK_INSTALL_DATADIR share/iolink-workbench)
set(IOLINK_SUMMARY "configures IO-Link ultrasonic distance sensors")

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

# The manual page is the program's own --help, so the two cannot drift apart.
# Compressed without name and time stamp, as Debian wants it.
set(IOLINK_PACKAGE_DOCS ${CMAKE_BINARY_DIR}/package-docs)
add_custom_command(
  OUTPUT ${IOLINK_PACKAGE_DOCS}/iolink-workbench.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${IOLINK_PACKAGE_DOCS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          help2man --no-info --section=1 --name=${IOLINK_SUMMARY}
          --output=${IOLINK_PACKAGE_DOCS}/iolink-workbench.1 $<TARGET_FILE:iolink-workbench>
  COMMAND gzip -9nf ${IOLINK_PACKAGE_DOCS}/iolink-workbench.1
  DEPENDS iolink-workbench
  COMMENT "Manual page of iolink-workbench from its --help"
  VERBATIM)
add_custom_command(
  OUTPUT ${IOLINK_PACKAGE_DOCS}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${IOLINK_PACKAGE_DOCS}
  COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" gzip ${PROJECT_SOURCE_DIR}/data/debian/changelog
          ${IOLINK_PACKAGE_DOCS}/changelog.Debian.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
  VERBATIM)
# scripts/package builds it; cpack installs it.
add_custom_target(package-docs
  DEPENDS ${IOLINK_PACKAGE_DOCS}/iolink-workbench.1.gz ${IOLINK_PACKAGE_DOCS}/changelog.Debian.gz)
install(FILES ${IOLINK_PACKAGE_DOCS}/iolink-workbench.1.gz DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${IOLINK_PACKAGE_DOCS}/changelog.Debian.gz
        DESTINATION share/doc/iolink-workbench)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/lintian-overrides DESTINATION share/lintian/overrides
        RENAME iolink-workbench)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME iolink-workbench)
set(CPACK_PACKAGE_VENDOR "IO-Link Workbench Team")
set(CPACK_PACKAGE_CONTACT "IO-Link Workbench Team <workbench-team@users.noreply.github.com>")
# Debian revision 1 of version 1.0.0: matches data/debian/changelog.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${IOLINK_SUMMARY})
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
# Qt loads the SVG image and icon plug-ins at run time, which no binary links:
# every tool-bar icon and LED is an SVG.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5svg5")
# Our libraries are private to the program: no shlibs file. CPack still adds
# ldconfig calls for any library below /usr/lib; scripts/package takes them out.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
