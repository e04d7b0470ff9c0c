# Layers, by folder convention so that each part of the tree can grow without editing this file:
#   src/<folder>/*.cpp      -> zelmo_core  (Qt Core + Network + GStreamer; no Widgets)
#   src/<folder>/ui/*.cpp   -> zelmo_ui    (Widgets + WebEngine; windows and the web view layer)
#   src/app/main.cpp        -> zelmo-player
set(ZELMO_FOLDERS platform navigation settings radio favorites closed web tv desktop app)

set(ZELMO_CORE_SOURCES)
set(ZELMO_UI_SOURCES)
foreach(folder IN LISTS ZELMO_FOLDERS)
  file(GLOB core CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
  file(GLOB ui CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/${folder}/ui/*.h)
  list(APPEND ZELMO_CORE_SOURCES ${core})
  list(APPEND ZELMO_UI_SOURCES ${ui})
endforeach()
list(FILTER ZELMO_CORE_SOURCES EXCLUDE REGEX "/src/app/main\\.cpp$")
file(GLOB ZELMO_QRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.qrc)

add_library(zelmo_core STATIC ${ZELMO_CORE_SOURCES})
target_include_directories(zelmo_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(zelmo_core PUBLIC Qt6::Core Qt6::Gui Qt6::Network Qt6::DBus PkgConfig::GST)
# The XMLTV guide is read through zlib's streaming inflater.
find_package(ZLIB REQUIRED)
target_link_libraries(zelmo_core PUBLIC ZLIB::ZLIB)

add_library(zelmo_ui STATIC ${ZELMO_UI_SOURCES} ${ZELMO_QRC})
target_link_libraries(zelmo_ui PUBLIC zelmo_core Qt6::Widgets Qt6::WebEngineWidgets Qt6::QuickWidgets)

add_executable(zelmo-player ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(zelmo-player PRIVATE zelmo_ui)

# AUTOMOC does not notice headers that a re-glob adds to an existing build directory; when the
# list of sources changes, drop its stamps and parse caches so moc runs over the new list.
string(SHA1 _zelmo_sources_hash "${ZELMO_CORE_SOURCES};${ZELMO_UI_SOURCES}")
if(NOT "${_zelmo_sources_hash}" STREQUAL "${ZELMO_SOURCES_HASH}")
  file(GLOB_RECURSE _zelmo_autogen_stamps
    ${CMAKE_BINARY_DIR}/*_autogen/timestamp ${CMAKE_BINARY_DIR}/*_autogen.dir/ParseCache.txt)
  if(_zelmo_autogen_stamps)
    file(REMOVE ${_zelmo_autogen_stamps})
  endif()
  set(ZELMO_SOURCES_HASH "${_zelmo_sources_hash}" CACHE INTERNAL "")
endif()
