# Installation and the packages: on Linux the Debian package, on Windows a zip.
#
# `cmake --install` puts the two programs into bin/, and for the window its desktop entry,
# its icon (scalable, plus 16 and 32 pixel PNGs rendered from the drawings at build time) and
# its AppStream description under share/; the manual page of tavrin-convert and the licence
# go under share/ as well. `cpack -G DEB` packs the same files as "tavrin".
if(WIN32)
  # tavrin-convert-<version>-win64.zip: the program, the licence and the user guide, the two
  # texts with Windows line ends so that every editor shows them right.
  install(TARGETS tavrin-convert RUNTIME DESTINATION .)
  foreach(text IN ITEMS "LICENSE:LICENSE.txt" "docs/Benutzerhandbuch.md:Benutzerhandbuch.txt")
    string(REPLACE ":" ";" text "${text}")
    list(GET text 0 from)
    list(GET text 1 to)
    file(READ ${CMAKE_SOURCE_DIR}/${from} content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${CMAKE_BINARY_DIR}/package/${to} "${content}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${from})
    install(FILES ${CMAKE_BINARY_DIR}/package/${to} DESTINATION .)
  endforeach()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME tavrin-convert)
  set(CPACK_PACKAGE_VENDOR "Tavrin-Projekt")
  set(CPACK_PACKAGE_VERSION ${TAVRIN_VERSION_TEXT})
  set(CPACK_PACKAGE_FILE_NAME "tavrin-convert-${TAVRIN_VERSION_TEXT}-win64")
  set(CPACK_STRIP_FILES ON)
  include(CPack)
  return()
endif()

include(GNUInstallDirs)

# The id under which software centres know the program. The desktop entry keeps its short
# name "tavrin.desktop", and the icon its name "tavrin" (the entry's Icon= line).
set(TAVRIN_APPSTREAM_ID "de.tavrin.Tavrin")
set(TAVRIN_ICON_NAME "tavrin")
set(TAVRIN_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/tavrin")

if(TARGET tavrin-convert)
  install(TARGETS tavrin-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The manual page, compressed as Debian keeps manual pages.
  set(tavrin_man_page ${CMAKE_BINARY_DIR}/man/tavrin-convert.1)
  add_custom_command(
    OUTPUT ${tavrin_man_page}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/tavrin-convert.1 ${tavrin_man_page}
    COMMAND gzip -9 -n -f ${tavrin_man_page}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/tavrin-convert.1
    COMMENT "Compressing the manual page of tavrin-convert"
    VERBATIM)
  add_custom_target(tavrin_man_page ALL DEPENDS ${tavrin_man_page}.gz)
  install(FILES ${tavrin_man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARGET Tavrin)
  install(TARGETS Tavrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/window/tavrin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAVRIN_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon: the drawing as it is, and PNGs for desktops that want fixed sizes. The 16 pixel
  # image comes from the drawing made for that size, as in the window's own icon.
  set(tavrin_icon_root ${CMAKE_BINARY_DIR}/icons/hicolor)
  install(FILES ${CMAKE_SOURCE_DIR}/window/images/tavrin.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${TAVRIN_ICON_NAME}.svg)
  find_program(TAVRIN_RSVG_CONVERT rsvg-convert REQUIRED)
  set(tavrin_icon_pngs)
  foreach(size_and_drawing IN ITEMS "16:tavrin16.svg" "32:tavrin.svg")
    string(REPLACE ":" ";" size_and_drawing "${size_and_drawing}")
    list(GET size_and_drawing 0 size)
    list(GET size_and_drawing 1 drawing)
    set(png ${tavrin_icon_root}/${size}x${size}/apps/${TAVRIN_ICON_NAME}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${tavrin_icon_root}/${size}x${size}/apps
      COMMAND ${TAVRIN_RSVG_CONVERT} --width ${size} --height ${size} --format png
              --output ${png} ${CMAKE_SOURCE_DIR}/window/images/${drawing}
      DEPENDS ${CMAKE_SOURCE_DIR}/window/images/${drawing}
      COMMENT "Rendering the ${size} pixel application icon"
      VERBATIM)
    list(APPEND tavrin_icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(tavrin_icons ALL DEPENDS ${tavrin_icon_pngs})

  install(FILES ${CMAKE_SOURCE_DIR}/docs/Benutzerhandbuch.md DESTINATION ${TAVRIN_DOC_DIR})
endif()

# Debian keeps the licence of a package in its doc folder under the name "copyright".
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${TAVRIN_DOC_DIR} RENAME copyright)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "Tavrin-Projekt")
set(CPACK_PACKAGE_CONTACT "Tavrin-Projekt")
set(CPACK_PACKAGE_VERSION ${TAVRIN_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "upgrade Visual Basic 5 projects to the version 6 common controls")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrin copies a Visual Basic 5 project folder into an empty target folder and rewrites\n"
    "every project text file on the way, so that the copy uses the version 6 common controls\n"
    "(MSCOMCTL.OCX, MSCOMCT2.OCX) instead of the version 5 ones (COMCTL32.OCX, COMCT232.OCX).\n"
    "The source folder is never changed.\n"
    "\n"
    "The package holds the window, Tavrin, and the command-line tool tavrin-convert.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${TAVRIN_VERSION_TEXT})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tavrin-Projekt")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window draws its fixed layout in DejaVu Sans; other faces still work.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
