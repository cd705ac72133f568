# The Debian package brisvane-quillet, built by CPack from the install rules
# (`make package` runs it on a Release build). It holds whatever those rules
# install under /usr, Brisvane included once it is built, plus the package's
# own copyright and changelog.
#
# Runtime dependencies: dpkg-shlibdeps reads them from every ELF file in the
# package, the lazily loaded metafile module in /usr/lib/<multiarch>/
# brisvane-quillet too (that folder, not /usr/lib/brisvane-quillet, also keeps
# CPack from adding maintainer scripts that run ldconfig for a private module).
# Added by hand is what no binary links but the programs need at run time:
#   libqt6svg6        the SVG icon engine plugin that draws the toolbar icons
#                     (named by shlibdeps when the metafile module is built);
#   fonts-urw-base35  libwmf loads these fonts before it draws any WMF.
# The platform plugins (xcb, offscreen) and the GIF, JPEG and ICO readers are
# part of libqt6gui6 since Qt 6.3 in Debian, which shlibdeps already names.
#
# No maintainer scripts: the MIME, desktop-entry, icon and manual databases
# are refreshed by the file triggers of shared-mime-info, desktop-file-utils,
# hicolor-icon-theme and man-db whenever files land in or leave their folders.

set(LOGO_PACKAGE_MAINTAINER "Brisvane and Quillet developers <developers@brisvane-quillet.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(LOGO_PACKAGE_DEBIAN ${CMAKE_SOURCE_DIR}/cmake/debian)
set(LOGO_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/brisvane-quillet)
install(FILES ${LOGO_PACKAGE_DEBIAN}/copyright DESTINATION ${LOGO_PACKAGE_DOCDIR})
logo_install_gzipped(${LOGO_PACKAGE_DEBIAN}/changelog changelog ${LOGO_PACKAGE_DOCDIR})

# The changelog's newest entry names the version it describes.
file(STRINGS ${LOGO_PACKAGE_DEBIAN}/changelog LOGO_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT LOGO_CHANGELOG_TOP MATCHES "^brisvane-quillet \\(${PROJECT_VERSION}\\) ")
  message(WARNING "cmake/debian/changelog has no entry for version ${PROJECT_VERSION} at the top; "
                  "add one before building the package")
endif()

# Stripped as Debian strips its own packages: no compiler notes either.
set(LOGO_PACKAGE_BINARIES)
foreach(program ${LOGO_DESKTOP_PROGRAMS} logotool)
  list(APPEND LOGO_PACKAGE_BINARIES "${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>")
endforeach()
foreach(module logometafile logohandoverlink logoserve)
  if(TARGET ${module})
    list(APPEND LOGO_PACKAGE_BINARIES "${LOGO_MODULE_DIR}/$<TARGET_FILE_NAME:${module}>")
  endif()
endforeach()
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(file ${LOGO_PACKAGE_BINARIES})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\")
    endforeach()
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisvane-quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT ${LOGO_PACKAGE_MAINTAINER})

if(TARGET brisvane)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editors for Nokia operator logos and caller-group graphics")
  set(LOGO_PACKAGE_PROGRAMS "Brisvane makes the operator logos that a phone shows in place of the\n"
                            "network name, bound to a network by its country and network code.\n"
                            "Quillet is a pixel editor for caller-group graphics of the same size.")
else()
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pixel editor for Nokia caller-group graphics")
  set(LOGO_PACKAGE_PROGRAMS "Quillet is a pixel editor for the 72 x 14 caller-group graphics of\n"
                            "Nokia phones.")
endif()
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${LOGO_PACKAGE_PROGRAMS} "\n"
  "The pictures are read from and written to NOL and NGG files, read from\n"
  "the NLM, NSL, NGL, OTB, I61 and WBMP files of other tools or imported\n"
  "from ordinary pictures, and go to a phone as a smart message through a\n"
  "phone on a serial port, straight into its SMS inbox, by infrared to\n"
  "61xx phones or through a web upload page.\n"
  "\n"
  "The console tool logotool runs the same conversions and deliveries\n"
  "without a window.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LOGO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# logotool serve keeps its queue through Qt SQL's SQLite driver, a plugin
# that the library scan can't see.
set(LOGO_PACKAGE_DEPENDS libqt6sql6-sqlite)
if(NOT TARGET logometafile)
  list(APPEND LOGO_PACKAGE_DEPENDS libqt6svg6)
endif()
if(LIBWMF_FOUND)
  list(APPEND LOGO_PACKAGE_DEPENDS fonts-urw-base35)
endif()
list(JOIN LOGO_PACKAGE_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The programs refresh the user's own MIME and desktop databases with these
# tools and open web pages with xdg-open; the icon theme gives the icons a home.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
