# Windows build: the Configurator executable, its platform layer and the
# tests that run under Wine.
enable_language(RC)

# Only the DLLs that the start needs are linked; COMDLG32, SHELL32 and
# NETAPI32 are loaded by the dialogs that use them (LateLibrary), and WinSock
# by each probe.
set(RC_WIN_LIBS user32 gdi32 advapi32 kernel32)
set(RC_STATIC_LINK -static -static-libgcc -static-libstdc++)
# The product is lean: each function and datum in a section of its own so
# that the linker drops what nothing uses, code optimised for size, no
# symbols. RC_DEBUG_FILE keeps the debug information in rcsetup32.exe.debug
# beside the program for crash analysis (the program names it by
# .gnu_debuglink).
set(RC_LEAN_COMPILE -Os -ffunction-sections -fdata-sections)
option(RC_DEBUG_FILE "Write the Configurator's debug information to a separate file" OFF)

# SystemCodec and the other platform pieces live in *_win.cpp files; all but
# the entry point form one library that the tests link too.
file(GLOB RC_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/*_win.cpp)
list(FILTER RC_WIN_SOURCES EXCLUDE REGEX "winmain_win\\.cpp$")
add_library(rcwin STATIC ${RC_WIN_SOURCES})
target_link_libraries(rcwin PUBLIC rccore ${RC_WIN_LIBS})
target_compile_options(rcwin PRIVATE ${RC_WARNINGS} ${RC_LEAN_COMPILE})
target_compile_options(rccore PRIVATE ${RC_LEAN_COMPILE})
target_compile_definitions(rcwin PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0400 WINVER=0x0400)
target_compile_definitions(rccore PUBLIC UNICODE _UNICODE)

# The resource script: compiled into the executable and into every test
# program that creates dialogs (templates and strings are looked up in the
# running module).
set(RC_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/src/resources/rcsetup.rc)
set_source_files_properties(${RC_RESOURCE_SCRIPT} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/resources/resource.h;${CMAKE_SOURCE_DIR}/src/resources/rcsetup32.manifest")

add_executable(rcsetup32 WIN32 ${CMAKE_SOURCE_DIR}/src/shell/winmain_win.cpp ${RC_RESOURCE_SCRIPT})
target_link_libraries(rcsetup32 PRIVATE rcwin)
target_compile_options(rcsetup32 PRIVATE ${RC_WARNINGS} ${RC_LEAN_COMPILE})
target_link_options(rcsetup32 PRIVATE -municode ${RC_STATIC_LINK} -Wl,--gc-sections)
if(RC_DEBUG_FILE)
  target_compile_options(rccore PRIVATE -g)
  target_compile_options(rcwin PRIVATE -g)
  target_compile_options(rcsetup32 PRIVATE -g)
  add_custom_command(TARGET rcsetup32 POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:rcsetup32> $<TARGET_FILE:rcsetup32>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:rcsetup32>.debug $<TARGET_FILE:rcsetup32>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:rcsetup32>
    VERBATIM)
else()
  target_link_options(rcsetup32 PRIVATE -s)
endif()
target_include_directories(rcsetup32 PRIVATE ${CMAKE_SOURCE_DIR}/src)
# BRX.hlp and qvt.hlp lie beside the executable (cmake/help.cmake).
add_dependencies(rcsetup32 rc_help)

# The executable must need no DLL beyond the system's own.
add_test(NAME imports COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh
         ${CMAKE_OBJDUMP} $<TARGET_FILE:rcsetup32>)
set_tests_properties(imports PROPERTIES LABELS build)
set_property(TEST imports PROPERTY CROSSCOMPILING_EMULATOR "")

# The application manifest: embedded once as resource 1 of type 24,
# well-formed, asking for administrator rights.
add_test(NAME manifest COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/check-manifest.py
         $<TARGET_FILE:rcsetup32>)
set_tests_properties(manifest PROPERTIES LABELS build)

# Resource checks: unique control ids per template, every loaded string
# present.
add_test(NAME resources COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/check-resources.py
         ${CMAKE_SOURCE_DIR}/src)
set_tests_properties(resources PROPERTIES LABELS build)

# The core is window-free: none of its files may include <windows.h>.
add_test(NAME core_is_window_free COMMAND ${CMAKE_SOURCE_DIR}/tools/check-window-free.sh
         ${CMAKE_SOURCE_DIR}/src)
set_tests_properties(core_is_window_free PROPERTIES LABELS build)

target_link_libraries(core_tests PRIVATE rcwin)

# Dialog tests: real dialogs created from their templates in-process.
file(GLOB RC_DIALOG_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/dialog/*.cpp)
file(GLOB RC_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*_win.cpp)
if(RC_DIALOG_TESTS)
  add_executable(dialog_tests ${RC_DIALOG_TESTS} ${RC_TEST_SUPPORT} ${RC_RESOURCE_SCRIPT})
  target_link_libraries(dialog_tests PRIVATE rcwin GTest::gtest shell32 shlwapi)
  target_include_directories(dialog_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(dialog_tests PRIVATE ${RC_WARNINGS})
  rc_test_options(dialog_tests)
  target_link_options(dialog_tests PRIVATE -municode ${RC_STATIC_LINK})
  add_dependencies(dialog_tests progman_standin)
  # The suites that install transport modules beside the test program share
  # that folder (it is the build tree, not the run's own prefix), so they run
  # alone rather than beside one another; so do the suites that measure
  # their own elapsed time.
  rc_add_gtest_suites(dialog_tests LABEL dialog TIMEOUT 600
    SERIAL "^(ClientDialog|ControlDialog|IconMaintenance|Transports|ProgmanNoAnswer)$"
    ENVIRONMENT "RC_PROGMAN_STANDIN_EXE=$<TARGET_FILE:progman_standin>")
endif()

# End-to-end tests: a driver program that starts the real rcsetup32.exe in
# the same Wine prefix and works it from outside.
file(GLOB RC_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(RC_E2E_TESTS)
  add_executable(e2e_tests ${RC_E2E_TESTS} ${RC_TEST_SUPPORT})
  target_link_libraries(e2e_tests PRIVATE rcwin GTest::gtest shell32 shlwapi)
  target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(e2e_tests PRIVATE ${RC_WARNINGS})
  rc_test_options(e2e_tests)
  target_link_options(e2e_tests PRIVATE -municode ${RC_STATIC_LINK})
  add_dependencies(e2e_tests rcsetup32)
  add_dependencies(e2e_tests progman_standin)
  rc_add_gtest_suites(e2e_tests LABEL e2e TIMEOUT 900
    ENVIRONMENT "RC_CONFIGURATOR_EXE=$<TARGET_FILE:rcsetup32>"
                "RC_PROGMAN_STANDIN_EXE=$<TARGET_FILE:progman_standin>")
endif()

# ---- Program Manager stand-in ------------------------------------------------
# tools/progman-standin: a DDE "PROGMAN" server of our own (Wine's shell
# cannot hold the conversation the Configurator needs). Not part of the
# product: the link tests and the demo start it beside rcsetup32.exe.
add_executable(progman_standin WIN32
  ${CMAKE_SOURCE_DIR}/tools/progman-standin/progman_standin.cpp
  ${CMAKE_SOURCE_DIR}/tools/progman-standin/standin_text.cpp)
target_include_directories(progman_standin PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(progman_standin PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601)
target_compile_options(progman_standin PRIVATE ${RC_WARNINGS})
target_link_libraries(progman_standin PRIVATE user32 kernel32 ole32 shell32 uuid)
target_link_options(progman_standin PRIVATE -municode ${RC_STATIC_LINK})

# ---- Start-up and dialog timer ----------------------------------------------
# bench/ui: a bare program with the Configurator's window, menu and dialog
# templates, and a timer that compares the two under Wine
# (tools/bench-ui.sh). Never a test.
add_executable(ui_bare WIN32 ${CMAKE_SOURCE_DIR}/bench/ui/bare_win.cpp ${RC_RESOURCE_SCRIPT})
target_include_directories(ui_bare PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(ui_bare PRIVATE UNICODE _UNICODE)
target_link_options(ui_bare PRIVATE -municode ${RC_STATIC_LINK})
add_executable(ui_timer ${CMAKE_SOURCE_DIR}/bench/ui/ui_timer_win.cpp)
target_compile_definitions(ui_timer PRIVATE UNICODE _UNICODE)
target_link_options(ui_timer PRIVATE -municode ${RC_STATIC_LINK})
foreach(t ui_bare ui_timer)
  target_compile_options(${t} PRIVATE ${RC_WARNINGS})
endforeach()
