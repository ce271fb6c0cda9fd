# Installation and the packages: on Linux the Debian package, on Windows a zip.
#
# `cmake --install` puts the two programs into bin/, and for the window its desktop entry,
# its icon (scalable, plus 16 and 32 pixel PNGs rendered from the drawings at build time) and
# its AppStream description under share/; the manual page of tavrin-convert and the licence
# go under share/ as well. `cpack -G DEB` packs the same files as "tavrin".
if(WIN32)
  # tavrin-<version>-win64.zip: the programs (the window, when built, and tavrin-convert), a
  # short German read-me, the licence and the user guide. The texts with Windows line ends so
  # that every editor shows them right, the German ones with a byte order mark so that Notepad
  # reads them as UTF-8 whatever its version.
  install(TARGETS tavrin-convert RUNTIME DESTINATION .)
  if(TARGET Tavrin)
    install(TARGETS Tavrin RUNTIME DESTINATION .)
  endif()
  string(ASCII 239 187 191 tavrin_utf8_bom)
  foreach(text IN ITEMS "packaging/windows/LIESMICH.txt:LIESMICH.txt:bom" "LICENSE:LICENSE.txt:"
                        "docs/Benutzerhandbuch.md:Benutzerhandbuch.txt:bom")
    string(REPLACE ":" ";" text "${text}")
    list(GET text 0 from)
    list(GET text 1 to)
    list(GET text 2 bom)
    file(READ ${CMAKE_SOURCE_DIR}/${from} content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    if(bom)
      set(content "${tavrin_utf8_bom}${content}")
    endif()
    file(WRITE ${CMAKE_BINARY_DIR}/package/${to} "${content}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${from})
    install(FILES ${CMAKE_BINARY_DIR}/package/${to} DESTINATION .)
  endforeach()
  set(tavrin_package_name "tavrin-${TAVRIN_VERSION_TEXT}-win64")
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME tavrin)
  set(CPACK_PACKAGE_VENDOR "Tavrin-Projekt")
  set(CPACK_PACKAGE_VERSION ${TAVRIN_VERSION_TEXT})
  set(CPACK_PACKAGE_FILE_NAME "${tavrin_package_name}")
  set(CPACK_STRIP_FILES ON)
  include(CPack)

  # tavrin-<version>-win64-setup.exe, the installer (NSIS, 64 bit): the files of the zip, as
  # `cmake --install --strip` puts them into a folder of their own, packed by makensis.
  # Built on request only: `cmake --build <dir> --target tavrin_installer`.
  find_program(TAVRIN_MAKENSIS makensis)
  if(TARGET Tavrin AND TAVRIN_MAKENSIS)
    set(stage ${CMAKE_BINARY_DIR}/installer/files)
    set(setup ${CMAKE_BINARY_DIR}/${tavrin_package_name}-setup.exe)
    add_custom_command(
      OUTPUT ${setup}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
      COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage} --strip
      COMMAND ${TAVRIN_MAKENSIS} -V2 -WX -DVERSION=${TAVRIN_VERSION_TEXT} -DVERSION4=${PROJECT_VERSION}
              -DSTAGE=${stage} -DOUTFILE=${setup} ${CMAKE_SOURCE_DIR}/packaging/windows/tavrin.nsi
      DEPENDS Tavrin tavrin-convert ${CMAKE_SOURCE_DIR}/packaging/windows/tavrin.nsi
              ${CMAKE_BINARY_DIR}/package/LIESMICH.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt
              ${CMAKE_BINARY_DIR}/package/Benutzerhandbuch.txt
      COMMENT "Building the installer ${tavrin_package_name}-setup.exe"
      VERBATIM)
    add_custom_target(tavrin_installer DEPENDS ${setup})
  else()
    message(STATUS "No installer target (tavrin_installer): it needs makensis (Debian package nsis) and Tavrin.exe")
  endif()
  return()
endif()

include(GNUInstallDirs)

# The id under which software centres know the program. The desktop entry keeps its short
# name "tavrin.desktop", and the icon its name "tavrin" (the entry's Icon= line).
set(TAVRIN_APPSTREAM_ID "de.tavrin.Tavrin")
set(TAVRIN_ICON_NAME "tavrin")
set(TAVRIN_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/tavrin")

# The manual pages, compressed as Debian keeps them: each in English and, under "de", in German.
# `page` is a file in docs/ (and docs/de/), `target` names the program it documents.
set(tavrin_man_pages)
function(tavrin_install_man_page page program)
  if(NOT TARGET ${program})
    return()
  endif()
  foreach(language IN ITEMS "" "de")
    set(from ${CMAKE_SOURCE_DIR}/docs/${page})
    set(to ${CMAKE_BINARY_DIR}/man/${page})
    set(destination ${CMAKE_INSTALL_MANDIR}/man1)
    if(language)
      set(from ${CMAKE_SOURCE_DIR}/docs/${language}/${page})
      set(to ${CMAKE_BINARY_DIR}/man/${language}/${page})
      set(destination ${CMAKE_INSTALL_MANDIR}/${language}/man1)
    endif()
    add_custom_command(
      OUTPUT ${to}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${from} ${to}
      COMMAND gzip -9 -n -f ${to}
      DEPENDS ${from}
      COMMENT "Compressing the manual page ${language}/${page}"
      VERBATIM)
    install(FILES ${to}.gz DESTINATION ${destination})
    set_property(GLOBAL APPEND PROPERTY tavrin_man_pages ${to}.gz)
  endforeach()
endfunction()

if(TARGET tavrin-convert)
  install(TARGETS tavrin-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  tavrin_install_man_page(tavrin-convert.1 tavrin-convert)
endif()
tavrin_install_man_page(Tavrin.1 Tavrin)
get_property(tavrin_man_pages GLOBAL PROPERTY tavrin_man_pages)
add_custom_target(tavrin_man_pages ALL DEPENDS ${tavrin_man_pages})

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

# The package's history, in Debian's format and compressed, as "changelog" of a native package.
set(tavrin_changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_command(
  OUTPUT ${tavrin_changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/changelog ${tavrin_changelog}
  COMMAND gzip -9 -n -f ${tavrin_changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(tavrin_changelog ALL DEPENDS ${tavrin_changelog}.gz)
install(FILES ${tavrin_changelog}.gz DESTINATION ${TAVRIN_DOC_DIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "Tavrin-Projekt")
# Debian wants a maintainer with a mail address ("Name <address>").
set(TAVRIN_MAINTAINER "Tavrin-Projekt <tavrin@users.noreply.github.com>")
set(CPACK_PACKAGE_CONTACT "${TAVRIN_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${TAVRIN_VERSION_TEXT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "upgrade Visual Basic 5 projects to the version 6 common controls")
# Lines of at most 80 characters, as Debian's package descriptions want them.
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrin copies a Visual Basic 5 project folder into an empty target folder\n"
    "and rewrites every project text file on the way, so that the copy uses the\n"
    "version 6 common controls (MSCOMCTL.OCX, MSCOMCT2.OCX) instead of the\n"
    "version 5 ones (COMCTL32.OCX, COMCT232.OCX). The source folder is never\n"
    "changed.\n"
    "\n"
    "The package holds the window, Tavrin, and the command-line tool\n"
    "tavrin-convert.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${TAVRIN_VERSION_TEXT})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVRIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window draws its fixed layout in DejaVu Sans; other faces still work.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
