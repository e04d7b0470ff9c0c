# zelmo_library(<target> SOURCES <files> [QT <modules>] [USES <zelmo targets>] [LIBS <other libraries>])
# One static library per folder of src/ and one per ui/ subfolder, each in src/<folder>/CMakeLists.txt
# with its files listed: a new file is added there. src/ is the include root ("folder/Name.h").
#   QT    the Qt modules the folder's own headers need (PUBLIC); core folders never name Widgets.
#   USES  the folders it includes (PRIVATE): a folder that includes another names it itself.
# tools/include-graph.sh --check (the test_layers test) keeps the include arrows pointing down.
function(zelmo_library target)
  cmake_parse_arguments(L "" "" "SOURCES;QT;USES;LIBS" ${ARGN})
  add_library(${target} STATIC ${L_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  list(TRANSFORM L_QT PREPEND Qt6::)
  target_link_libraries(${target} PUBLIC ${L_QT} PRIVATE ${L_USES} ${L_LIBS})
endfunction()

find_package(ZLIB REQUIRED)

# Bottom to top; app/ builds the program.
set(ZELMO_FOLDERS platform navigation settings radio favorites closed web tv desktop app)
foreach(folder IN LISTS ZELMO_FOLDERS)
  add_subdirectory(src/${folder})
endforeach()

# For tests and tools that drive several folders at once: every core library, and everything.
add_library(zelmo_core INTERFACE)
target_link_libraries(zelmo_core INTERFACE
  zelmo_platform zelmo_gst zelmo_navigation zelmo_settings zelmo_radio zelmo_favorites zelmo_closed zelmo_tv
  zelmo_desktop zelmo_app PkgConfig::GST ZLIB::ZLIB)
add_library(zelmo_ui INTERFACE)
target_link_libraries(zelmo_ui INTERFACE
  zelmo_core zelmo_platform_ui zelmo_settings_ui zelmo_radio_ui zelmo_favorites_ui zelmo_closed_ui
  zelmo_web_ui zelmo_tv_ui zelmo_desktop_ui zelmo_app_ui)
