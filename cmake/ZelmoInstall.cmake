# Installing under a prefix: the program in bin/, its packs and channel tree in
# share/zelmo-player/ (where an installed program looks for them), a menu entry, an icon in the
# hicolor theme and AppStream metadata. CPack turns the same rules into a Debian package.
include(GNUInstallDirs)

set(ZELMO_DESKTOP_DATA ${CMAKE_SOURCE_DIR}/data/desktop)
set(ZELMO_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/zelmo-player)

install(TARGETS zelmo-player RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS zelmo-gst LIBRARY DESTINATION ${ZELMO_MODULE_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Language DESTINATION ${ZELMO_DATA_SUBDIR})
install(DIRECTORY ${ZELMO_APPDIR}/channel DESTINATION ${ZELMO_DATA_SUBDIR})
install(FILES ${ZELMO_DESKTOP_DATA}/zelmo-player.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZELMO_DESKTOP_DATA}/zelmo-player.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZELMO_DESKTOP_DATA}/zelmo-player.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The PNG sizes are rendered from the one drawing at build time.
set(ZELMO_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(ZELMO_RSVG rsvg-convert)
if(ZELMO_RSVG)
  set(ZELMO_ICON_PNGS)
  foreach(size IN LISTS ZELMO_ICON_SIZES)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/zelmo-player.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${ZELMO_RSVG} -w ${size} -h ${size} -o ${png} ${ZELMO_DESKTOP_DATA}/zelmo-player.svg
      DEPENDS ${ZELMO_DESKTOP_DATA}/zelmo-player.svg
      COMMENT "Rendering the ${size}x${size} icon")
    list(APPEND ZELMO_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(zelmo_icons ALL DEPENDS ${ZELMO_ICON_PNGS})
else()
  message(WARNING "rsvg-convert not found (librsvg2-bin): only the scalable icon is installed")
endif()

# Debian package. Library dependencies come from dpkg-shlibdeps; the rest are what the program
# starts or loads by name at run time: Chromium's helper process, GStreamer's elements for
# playback (playbin, http sources, HLS and MPEG-TS, decoders, pulsesink), https for streams and
# lame for recording.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelmo-player)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelmo Player <support@zelmo-player.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Web TV channels and internet radio in one window")
set(CPACK_PACKAGE_DESCRIPTION
  "A launcher for web TV channels and internet radio stations with a Russian-language interface.")
set(CPACK_PACKAGE_FILE_NAME zelmo-player_${PROJECT_VERSION}_amd64)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zelmo-player.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6webenginecore6-bin, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, gstreamer1.0-plugins-bad, gstreamer1.0-libav, gstreamer1.0-pulseaudio, glib-networking, lame")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
include(CPack)
