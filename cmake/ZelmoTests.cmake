# zelmo_add_test(NAME n SOURCES a.cpp ... [LIBS ...] [ENV K=V ...] [LOCKS res ...] [TIMEOUT s] [LABELS ...]
#                [LAUNCHER cmd ...])
# Builds a Qt Test executable and registers it with CTest. Every test runs offscreen, without a
# Chromium sandbox (CI runs as root) and with the AppDir of the build at hand.
# Chromium resolves no host names in tests: pages come from files or 127.0.0.1 only.
# The rule list is quoted: Chromium splits the flags at spaces.
set(ZELMO_TEST_CHROMIUM_FLAGS "QTWEBENGINE_CHROMIUM_FLAGS=--host-resolver-rules=\"MAP * ~NOTFOUND, EXCLUDE 127.0.0.1\"")
set(ZELMO_TEST_ENV
  "${ZELMO_TEST_CHROMIUM_FLAGS}"
  "QT_QPA_PLATFORM=offscreen"
  "QTWEBENGINE_DISABLE_SANDBOX=1"
  "QT_LOGGING_RULES=qt.webenginecontext.info=false"
  "ZELMO_TEST_APPDIR=${ZELMO_APPDIR}"
  "ZELMO_TEST_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

function(zelmo_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENV;LOCKS;LABELS;LAUNCHER" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(NOT T_LIBS)
    set(T_LIBS zelmo_core)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test)
  # Helpers shared by several test folders: #include "common/...".
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(${T_NAME} zelmo_appdir)
  # A launcher (for example dbus-run-session --) runs the test inside an environment of its own.
  add_test(NAME ${T_NAME} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${T_NAME}>)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${ZELMO_TEST_ENV};${T_ENV}" TIMEOUT ${T_TIMEOUT})
  if(T_LOCKS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# The include arrows between the folders of src/ point down only, and core code includes no Widgets.
add_test(NAME test_layers COMMAND bash ${CMAKE_SOURCE_DIR}/tools/include-graph.sh --check ${CMAKE_SOURCE_DIR})
