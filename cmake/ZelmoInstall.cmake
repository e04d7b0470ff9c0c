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

# The PNG sizes are rendered at build time from the drawing, or from the drawing made for that size
# where there is one (the small sizes: a scaled-down picture turns soft there).
set(ZELMO_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(ZELMO_RSVG rsvg-convert)
if(ZELMO_RSVG)
  set(ZELMO_ICON_PNGS)
  foreach(size IN LISTS ZELMO_ICON_SIZES)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/zelmo-player.png)
    set(drawing ${ZELMO_DESKTOP_DATA}/zelmo-player-${size}.svg)
    if(NOT EXISTS ${drawing})
      set(drawing ${ZELMO_DESKTOP_DATA}/zelmo-player.svg)
    endif()
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${ZELMO_RSVG} -w ${size} -h ${size} -o ${png} ${drawing}
      DEPENDS ${drawing}
      COMMENT "Rendering the ${size}x${size} icon")
    list(APPEND ZELMO_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(zelmo_icons ALL DEPENDS ${ZELMO_ICON_PNGS})
else()
  message(WARNING "rsvg-convert not found (librsvg2-bin): only the scalable icon is installed")
endif()

# Debian package documentation: the copyright file, the change log and the manual page, the last
# two compressed as Debian wants them (gzip -9, no name or time stamp inside).
set(ZELMO_DEBIAN_DATA ${CMAKE_SOURCE_DIR}/data/debian)
set(ZELMO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zelmo-player)
find_program(ZELMO_GZIP gzip REQUIRED)
set(ZELMO_GZIPPED)
foreach(pair "changelog;${ZELMO_DEBIAN_DATA}/changelog" "zelmo-player.1;${ZELMO_DEBIAN_DATA}/zelmo-player.1")
  list(GET pair 0 name)
  list(GET pair 1 source)
  set(gz ${CMAKE_BINARY_DIR}/doc/${name}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
    COMMAND ${ZELMO_GZIP} -9 -n -c ${source} > ${gz}
    DEPENDS ${source}
    COMMENT "Compressing ${name}")
  list(APPEND ZELMO_GZIPPED ${gz})
endforeach()
add_custom_target(zelmo_docs ALL DEPENDS ${ZELMO_GZIPPED})
install(FILES ${ZELMO_DEBIAN_DATA}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${ZELMO_DOC_DIR})
install(FILES ${CMAKE_BINARY_DIR}/doc/zelmo-player.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The channel pages under share/zelmo-player/channel are what the program shows, not documentation.
install(FILES ${ZELMO_DEBIAN_DATA}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME zelmo-player)

# A stripped install (the package's) drops the compiler's and linker's .comment notes as well, as
# Debian's own stripping does.
if(CMAKE_OBJCOPY)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(f \"${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:zelmo-player>\"
                \"${ZELMO_MODULE_DIR}/$<TARGET_FILE_NAME:zelmo-gst>\")
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${f}\" RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
          message(FATAL_ERROR \"objcopy could not drop .comment from \${f}\")
        endif()
      endforeach()
    endif()")
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
# The long description's lines stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "A launcher for web TV channels and internet radio stations with a
Russian-language interface: a category bar and a grid of channel buttons, an
embedded browser view, radio with recording to MP3, favourites, your own IPTV
playlist and stations, and five interface languages.")
set(CPACK_PACKAGE_FILE_NAME zelmo-player_${PROJECT_VERSION}_amd64)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zelmo-player.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6webenginecore6-bin, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, gstreamer1.0-plugins-bad, gstreamer1.0-libav, gstreamer1.0-pulseaudio, glib-networking, lame")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, qt6-translations-l10n")
include(CPack)
