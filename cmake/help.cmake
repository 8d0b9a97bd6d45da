# Help files, built in every preset: the Halibut sources of docs/help become
# RC_HELP_DEFAULT_FILE (BRX.hlp, the default edition) and
# RC_HELP_CLASSROOM_FILE (qvt.hlp, the classroom edition) in the build
# directory, beside rcsetup32.exe. Halibut names each topic by its context
# string HELP_<NAME>; tools/help-context-map.py then fills the file's numeric
# context map from the HELP_ numbers of src/resources/resource.h, which the
# program hands to WinHelpW. Halibut's own output and its .cnt file stay in
# the help/ folder of the build directory.
find_program(RC_HALIBUT halibut REQUIRED)
find_program(RC_PYTHON3 python3 REQUIRED)

set(RC_HELP_SOURCES ${CMAKE_SOURCE_DIR}/docs/help)
set(RC_HELP_WORK ${CMAKE_BINARY_DIR}/help)

# rc_help_file(<output .hlp> <source part>...): the parts are docs/help/<part>.but
# in the order their topics appear.
function(rc_help_file output)
  set(sources)
  foreach(part IN LISTS ARGN)
    list(APPEND sources ${RC_HELP_SOURCES}/${part}.but)
  endforeach()
  get_filename_component(name ${output} NAME)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RC_HELP_WORK}
    COMMAND ${RC_HALIBUT} --winhelp=${RC_HELP_WORK}/${name} ${sources}
    COMMAND ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/help-context-map.py
            ${CMAKE_SOURCE_DIR}/src/resources/resource.h ${RC_HELP_WORK}/${name} ${output}
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/tools/help-context-map.py ${CMAKE_SOURCE_DIR}/src/resources/resource.h
    COMMENT "Building help file ${name}"
    VERBATIM)
endfunction()

rc_help_file(${RC_HELP_DEFAULT_FILE}
  brx main-window client client-dialogs icon-maintenance control create-icon reference)
rc_help_file(${RC_HELP_CLASSROOM_FILE}
  qvt main-window client-classroom client-dialogs icon-maintenance control-classroom create-icon reference)
add_custom_target(rc_help ALL DEPENDS ${RC_HELP_DEFAULT_FILE} ${RC_HELP_CLASSROOM_FILE})

# The reader test: each context of the program's table, read back through
# the built files' context maps, must land on its topic.
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME help_files COMMAND ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/help/help_file_test.py
           ${RC_HELP_DEFAULT_FILE} ${RC_HELP_CLASSROOM_FILE})
  set_tests_properties(help_files PROPERTIES LABELS help)
endif()
