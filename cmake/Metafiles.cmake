# Metafile drawing for picture import: libwmf for WMF, libemf2svg (drawn through
# Qt SVG) for EMF. Either may be missing; that kind of metafile then fails to
# import like any picture that can't be loaded.
target_link_libraries(logocore PUBLIC Qt6::Svg)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(LIBWMF QUIET IMPORTED_TARGET libwmf)
endif()
if(LIBWMF_FOUND)
  target_link_libraries(logocore PUBLIC PkgConfig::LIBWMF)
  target_compile_definitions(logocore PRIVATE LOGO_HAVE_LIBWMF=1)
else()
  message(STATUS "libwmf not found: WMF pictures will not import")
endif()

find_path(EMF2SVG_INCLUDE_DIR emf2svg.h)
find_library(EMF2SVG_LIBRARY emf2svg)
if(EMF2SVG_INCLUDE_DIR AND EMF2SVG_LIBRARY)
  target_include_directories(logocore PRIVATE ${EMF2SVG_INCLUDE_DIR})
  target_link_libraries(logocore PUBLIC ${EMF2SVG_LIBRARY})
  target_compile_definitions(logocore PRIVATE LOGO_HAVE_EMF2SVG=1)
else()
  message(STATUS "libemf2svg not found: EMF pictures will not import")
endif()
