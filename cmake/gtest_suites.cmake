# One ctest test per GoogleTest suite of a test program, found when ctest
# runs (like gtest_discover_tests' PRE_TEST mode, but per suite): under Wine
# every start of a program costs a prefix, a display and a wineserver, so a
# suite, not a case, is the unit that ctest starts. A failing suite is named
# by its test, `<program>.<Suite>`.
#
#   rc_add_gtest_suites(<target> LABEL <label> [TIMEOUT <s>]
#                       [DISCOVERY_TIMEOUT <s>] [SERIAL <regex>]
#                       [ENVIRONMENT <var=value>...])
#
# SERIAL: suites whose names match the regular expression run alone
# (RUN_SERIAL), for tests that measure elapsed time or share the desktop.
# The suite list is taken with --gtest_list_tests under the emulator and kept
# until the program is rebuilt; DISCOVERY_TIMEOUT covers Wine's first start,
# which also builds the template prefix. If the list cannot be taken, the
# whole program runs as one test named after it.
set(RC_GTEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/gtest_suites_discover.cmake)

function(rc_add_gtest_suites target)
  cmake_parse_arguments(A "" "LABEL;TIMEOUT;DISCOVERY_TIMEOUT;SERIAL" "ENVIRONMENT" ${ARGN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  if(NOT A_DISCOVERY_TIMEOUT)
    set(A_DISCOVERY_TIMEOUT 300)
  endif()
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake")
  file(GENERATE OUTPUT "${include_file}" CONTENT
"set(RC_PROGRAM \"$<TARGET_FILE:${target}>\")
set(RC_TARGET \"${target}\")
set(RC_EMULATOR \"${CMAKE_CROSSCOMPILING_EMULATOR}\")
set(RC_LABEL \"${A_LABEL}\")
set(RC_TIMEOUT \"${A_TIMEOUT}\")
set(RC_DISCOVERY_TIMEOUT \"${A_DISCOVERY_TIMEOUT}\")
set(RC_SERIAL \"${A_SERIAL}\")
set(RC_ENVIRONMENT \"${A_ENVIRONMENT}\")
set(RC_LIST_FILE \"${list_file}\")
include(\"${RC_GTEST_SUITES_SCRIPT}\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
