# Installing the game like any desktop game (GNUInstallDirs layout) and packing it as a
# Debian package with CPack (`make package`).
#
#   games/kisharin                                the program (a game's place by Debian policy;
#                                                 /usr/games is on every user's PATH)
#   share/kisharin/{GameData,MapData,Train,voice} the shipped data, read only
#   share/doc/kisharin/{Manual.htm,Manual_files/,copyright,changelog.gz}
#                                                 the manual and its pictures, every licence, the changes
#   share/applications, share/icons, share/metainfo, share/man/man6
#   share/lintian/overrides/kisharin              why the data files are not UTF-8
include(GNUInstallDirs)

set(KISHARIN_HOMEPAGE "https://kisharin.jp/" CACHE STRING "The game's home page (AppStream)")
set(KISHARIN_SCREENSHOTS_URL "https://kisharin.jp/screenshots" CACHE STRING
    "Where the pictures of docs/screenshots are published (AppStream)")
set(KISHARIN_PROJECT_LICENSE "MIT AND CC-BY-SA-4.0 AND CC-BY-3.0")

set(pkg_src ${CMAKE_SOURCE_DIR}/packaging)
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${pkg_out})

# The build tree keeps the shipped data beside the program, as an installed game keeps it
# in ../share/kisharin.
file(CREATE_LINK ${KISHARIN_SHIPPED_DATA_DIR} ${CMAKE_BINARY_DIR}/data SYMBOLIC)

configure_file(${pkg_src}/jp.kisharin.kisharin.metainfo.xml.in
               ${pkg_out}/jp.kisharin.kisharin.metainfo.xml @ONLY)

# Icons: the SVG is the drawing; the PNGs are rendered from it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs)
foreach(size 48 128 256)
  add_custom_command(OUTPUT ${pkg_out}/kisharin-${size}.png
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${pkg_src}/kisharin.svg -o ${pkg_out}/kisharin-${size}.png
    DEPENDS ${pkg_src}/kisharin.svg VERBATIM)
  list(APPEND icon_pngs ${pkg_out}/kisharin-${size}.png)
  install(FILES ${pkg_out}/kisharin-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME kisharin.png)
endforeach()

# The manual page, compressed as Debian keeps them (no time stamp: same bytes every build).
add_custom_command(OUTPUT ${pkg_out}/kisharin.6.gz
  COMMAND gzip -9 -n -c ${pkg_src}/kisharin.6 > ${pkg_out}/kisharin.6.gz
  DEPENDS ${pkg_src}/kisharin.6 VERBATIM)

# The changelog, compressed the same way. The copyright file (packaging/copyright) is
# written for the people who install the game, in the machine-readable copyright format.
add_custom_command(OUTPUT ${pkg_out}/changelog.gz
  COMMAND gzip -9 -n -c ${pkg_src}/changelog > ${pkg_out}/changelog.gz
  DEPENDS ${pkg_src}/changelog VERBATIM)

add_custom_target(kisharin_desktop_files ALL DEPENDS ${icon_pngs} ${pkg_out}/kisharin.6.gz ${pkg_out}/changelog.gz)

set(KISHARIN_INSTALL_GAMESDIR games CACHE STRING "Where the program is installed, under the prefix")
install(TARGETS kisharin RUNTIME DESTINATION ${KISHARIN_INSTALL_GAMESDIR})
foreach(dir GameData MapData Train)
  if(EXISTS ${KISHARIN_SHIPPED_DATA_DIR}/${dir})
    install(DIRECTORY ${KISHARIN_SHIPPED_DATA_DIR}/${dir} DESTINATION ${CMAKE_INSTALL_DATADIR}/kisharin
            FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
file(GLOB voice_files ${CMAKE_SOURCE_DIR}/third_party/hts-voice-*/*.htsvoice)
if(voice_files)
  install(FILES ${voice_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/kisharin/voice)
endif()
install(FILES ${KISHARIN_SHIPPED_DATA_DIR}/Manual.htm ${pkg_src}/copyright ${pkg_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The manual's pictures, beside it as its links expect.
install(DIRECTORY ${KISHARIN_SHIPPED_DATA_DIR}/Manual_files DESTINATION ${CMAKE_INSTALL_DOCDIR}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${pkg_src}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kisharin)
install(FILES ${pkg_src}/kisharin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg_src}/kisharin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${pkg_out}/jp.kisharin.kisharin.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg_out}/kisharin.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kisharin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The キシャリン developers")
set(CPACK_PACKAGE_CONTACT "The キシャリン developers <kisharin@kisharin.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "railway board game across the railway network of Japan")
# The extended description as Debian writes it: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Two players at one computer travel by train across the real railway
network of Japan, one line at a time, roll the die, pay fares and race to
eight destinations, with random happenings, disasters, race betting, an
animated ride with spoken announcements and a railway map of every
prefecture. Player 2 may be the computer, at one of three strengths, or a
player at another computer on the network. All texts of the game are
Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KISHARIN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the game needs beyond its libraries: Japanese fonts, the voice's engine and dictionary,
# Qt's platform plugins for the desktop, Qt's own texts in Japanese and a way to open the browser.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-mplus, libqt6charts6, open-jtalk, open-jtalk-mecab-naist-jdic, qt6-qpa-plugins, qt6-translations-l10n, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)

# Checks of what the package carries: the desktop entry and metainfo as the desktop's own
# validators see them, and the package's file list.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME packaging_desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${pkg_src}/kisharin.desktop)
endif()
if(APPSTREAMCLI)
  add_test(NAME packaging_metainfo
           COMMAND ${APPSTREAMCLI} validate --no-net ${pkg_out}/jp.kisharin.kisharin.metainfo.xml)
endif()
add_test(NAME packaging_deb COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/deb_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(packaging_deb PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
