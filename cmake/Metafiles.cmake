# Metafile drawing for picture import, in a module of its own (logometafile)
# that the core library loads on the first metafile import, so that nothing
# else loads libwmf, libemf2svg or Qt SVG: libwmf for WMF, libemf2svg for EMF,
# both drawn through Qt SVG. Either library may be missing; that kind of
# metafile then fails to import like any picture that can't be loaded.

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(LIBWMF QUIET IMPORTED_TARGET libwmf)
endif()
if(NOT LIBWMF_FOUND)
  message(STATUS "libwmf not found: WMF pictures will not import")
endif()
find_path(EMF2SVG_INCLUDE_DIR emf2svg.h)
find_library(EMF2SVG_LIBRARY emf2svg)
if(EMF2SVG_INCLUDE_DIR AND EMF2SVG_LIBRARY)
  set(EMF2SVG_FOUND TRUE)
else()
  message(STATUS "libemf2svg not found: EMF pictures will not import")
endif()
if(NOT LIBWMF_FOUND AND NOT EMF2SVG_FOUND)
  return()
endif()

set(LOGO_METAFILE_FOLDER ${CMAKE_SOURCE_DIR}/core/graphic/metafile)
set(LOGOMETAFILE_SOURCES
  ${LOGO_METAFILE_FOLDER}/emfrenderer.cpp
  ${LOGO_METAFILE_FOLDER}/module.cpp
  ${LOGO_METAFILE_FOLDER}/module.h
  ${LOGO_METAFILE_FOLDER}/renderers.h
  ${LOGO_METAFILE_FOLDER}/svgdrawing.cpp
  ${LOGO_METAFILE_FOLDER}/wmfrenderer.cpp)
# The header reader is pure and small: the module carries its own copy.
add_library(logometafile MODULE ${LOGOMETAFILE_SOURCES} ${CMAKE_SOURCE_DIR}/core/graphic/metafileframe.cpp
  ${CMAKE_SOURCE_DIR}/core/graphic/metafileframe_emf.cpp)
set_target_properties(logometafile PROPERTIES
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON AUTOMOC OFF AUTORCC OFF)
target_include_directories(logometafile PRIVATE ${CMAKE_SOURCE_DIR}/core)
target_link_libraries(logometafile PRIVATE Qt6::Core Qt6::Gui Qt6::Svg)
target_link_libraries(logometafile PRIVATE logo_warnings)
if(LIBWMF_FOUND)
  target_link_libraries(logometafile PRIVATE PkgConfig::LIBWMF)
  target_compile_definitions(logometafile PRIVATE LOGO_HAVE_LIBWMF=1)
endif()
if(EMF2SVG_FOUND)
  target_include_directories(logometafile PRIVATE ${EMF2SVG_INCLUDE_DIR})
  target_link_libraries(logometafile PRIVATE ${EMF2SVG_LIBRARY})
  target_compile_definitions(logometafile PRIVATE LOGO_HAVE_EMF2SVG=1)
endif()

# Where the loader looks: see LOGO_MODULE_DIR.
target_compile_definitions(logopicture PRIVATE
  LOGO_METAFILE_MODULE_FILE="$<TARGET_FILE_NAME:logometafile>")
install(TARGETS logometafile LIBRARY DESTINATION ${LOGO_MODULE_DIR})

# Whatever links the core library (programs, logotool, tests) gets the module built.
add_dependencies(logocore logometafile)
