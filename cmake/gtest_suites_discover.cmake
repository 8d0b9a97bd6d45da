# Runs inside ctest (see gtest_suites.cmake): lists the suites of RC_PROGRAM
# once per build of it and adds one test per suite.
if(NOT EXISTS "${RC_PROGRAM}")
  add_test("${RC_TARGET}_NOT_BUILT" "${RC_TARGET}_NOT_BUILT")
  return()
endif()

if(NOT EXISTS "${RC_LIST_FILE}" OR "${RC_PROGRAM}" IS_NEWER_THAN "${RC_LIST_FILE}")
  # The program sees the environment its tests see (a program may check it
  # before it lists anything).
  foreach(variable IN LISTS RC_ENVIRONMENT)
    if(variable MATCHES "^([^=]+)=(.*)$")
      set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
    endif()
  endforeach()
  execute_process(COMMAND ${RC_EMULATOR} "${RC_PROGRAM}" --gtest_list_tests
                  TIMEOUT ${RC_DISCOVERY_TIMEOUT}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE result ERROR_QUIET)
  set(suites "")
  if(result EQUAL 0)
    string(REPLACE "\r" "" listing "${listing}")
    string(REPLACE "\n" ";" lines "${listing}")
    foreach(line IN LISTS lines)
      # Suite lines start in the first column: "Suite." or "Suite.  # TypeParam".
      if(line MATCHES "^([A-Za-z_][A-Za-z0-9_/]*)\\.")
        list(APPEND suites "${CMAKE_MATCH_1}")
      endif()
    endforeach()
  endif()
  set(content "")
  if(suites)
    foreach(suite IN LISTS suites)
      set(name "${RC_TARGET}.${suite}")
      string(APPEND content
        "add_test([==[${name}]==] ${RC_EMULATOR} [==[${RC_PROGRAM}]==] [==[--gtest_filter=${suite}.*]==] --gtest_brief=1)\n"
        "set_tests_properties([==[${name}]==] PROPERTIES LABELS [==[${RC_LABEL}]==] TIMEOUT ${RC_TIMEOUT})\n")
      if(RC_SERIAL AND suite MATCHES "${RC_SERIAL}")
        string(APPEND content "set_tests_properties([==[${name}]==] PROPERTIES RUN_SERIAL TRUE)\n")
      endif()
      if(RC_ENVIRONMENT)
        string(APPEND content "set_tests_properties([==[${name}]==] PROPERTIES ENVIRONMENT [==[${RC_ENVIRONMENT}]==])\n")
      endif()
    endforeach()
    # Written aside and renamed, so that a ctest starting meanwhile reads the
    # old list or the new one whole, never a part of it.
    file(WRITE "${RC_LIST_FILE}.new" "${content}")
    file(RENAME "${RC_LIST_FILE}.new" "${RC_LIST_FILE}")
  else()
    # No list (the program did not start or timed out): run it whole, so the
    # failure shows, and try listing again next time.
    file(REMOVE "${RC_LIST_FILE}")
    add_test("${RC_TARGET}" ${RC_EMULATOR} "${RC_PROGRAM}" --gtest_brief=1)
    set_tests_properties("${RC_TARGET}" PROPERTIES LABELS "${RC_LABEL}" TIMEOUT ${RC_TIMEOUT})
    if(RC_ENVIRONMENT)
      set_tests_properties("${RC_TARGET}" PROPERTIES ENVIRONMENT "${RC_ENVIRONMENT}")
    endif()
    return()
  endif()
endif()
include("${RC_LIST_FILE}")
