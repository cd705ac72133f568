# What `cmake --install` puts in place for a desktop user: the programs, a
# desktop entry, icons and manual page per program, the MIME types of the
# picture files and the manual page of logotool. Installing into a prefix
# without DESTDIR also refreshes that prefix's MIME and desktop databases.
include(GNUInstallDirs)

set(LOGO_DESKTOP_PROGRAMS quillet)
if(TARGET brisvane)
  list(APPEND LOGO_DESKTOP_PROGRAMS brisvane)
endif()
install(TARGETS ${LOGO_DESKTOP_PROGRAMS} logotool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(LOGO_DATA ${CMAKE_SOURCE_DIR}/core/desktop/data)
install(FILES ${LOGO_DATA}/vornhal-logos.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Text files installed compressed, as the desktop's manual and documentation
# readers expect them: gzip without name or time stamp, so that two builds of
# the same sources give the same files. Without gzip they go in as they are.
find_program(LOGO_GZIP gzip)
function(logo_install_gzipped source name destination)
  if(NOT LOGO_GZIP)
    install(FILES ${source} DESTINATION ${destination} RENAME ${name})
    return()
  endif()
  set(folder ${CMAKE_BINARY_DIR}/gzipped/${destination})
  set(plain ${folder}/${name})
  file(MAKE_DIRECTORY ${folder})
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
    COMMAND ${LOGO_GZIP} -9nf ${plain}
    DEPENDS ${source}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${destination}/${name}" target)
  add_custom_target(${target} ALL DEPENDS ${plain}.gz)
  install(FILES ${plain}.gz DESTINATION ${destination})
endfunction()

foreach(page logotool ${LOGO_DESKTOP_PROGRAMS})
  logo_install_gzipped(${LOGO_DATA}/${page}.1 ${page}.1 ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# Icons: the SVG, and PNGs rendered from it at build time (devtools/iconrender).
set(LOGO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(LOGO_ICON_PNGS)
foreach(program ${LOGO_DESKTOP_PROGRAMS})
  set(svg ${CMAKE_SOURCE_DIR}/resources/icons/${program}.svg)
  install(FILES ${LOGO_DATA}/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size ${LOGO_ICON_SIZES})
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${program}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND iconrender ${svg} ${size} ${png}
      DEPENDS iconrender ${svg}
      VERBATIM)
    list(APPEND LOGO_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endforeach()
add_custom_target(icons ALL DEPENDS ${LOGO_ICON_PNGS})

install(CODE "set(LOGO_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    foreach(step "update-mime-database;mime" "update-desktop-database;applications")
      list(GET step 0 tool)
      list(GET step 1 folder)
      find_program(found_${tool} ${tool})
      if(found_${tool})
        execute_process(COMMAND ${found_${tool}} "${CMAKE_INSTALL_PREFIX}/${LOGO_DATADIR}/${folder}"
                        OUTPUT_QUIET ERROR_QUIET)
      endif()
    endforeach()
  endif()
]])
