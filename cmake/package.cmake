# Portable package: one ZIP per architecture, rcsetup32-<version>-win32.zip
# from the i686 build and rcsetup32-<version>-win64.zip from the x86_64
# build, laid out as
#   rcsetup32.exe
#   BRX.hlp                 help of the default edition, beside the program
#   classroom/qvt.hlp       help of the classroom edition (README.txt says
#                           how to install it)
#   README.txt              the user guide
# under one top folder named like the package.
#
# `cmake --build --preset win32 --target rc_package` builds the program and
# the help files, and nothing else (no test program), then runs CPack.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RC_PACKAGE_ARCH win64)
else()
  set(RC_PACKAGE_ARCH win32)
endif()

install(TARGETS rcsetup32 RUNTIME DESTINATION .)
# The guide with Windows line ends, the version filled in.
configure_file(${CMAKE_SOURCE_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/package/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt DESTINATION .)
if(TARGET rc_help)
  install(FILES ${RC_HELP_DEFAULT_FILE} DESTINATION .)
  install(FILES ${RC_HELP_CLASSROOM_FILE} DESTINATION classroom)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME rcsetup32)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(RC_PACKAGE_NAME rcsetup32-${PROJECT_VERSION}-${RC_PACKAGE_ARCH})
set(CPACK_PACKAGE_FILE_NAME ${RC_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Neither `package` nor CPack's install step may build every target (the
# test programs among them): rc_package builds what the package holds.
set(CMAKE_SKIP_PACKAGE_ALL_DEPENDENCY ON)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

add_custom_target(rc_package
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${RC_PACKAGE_NAME}.zip"
  VERBATIM)
add_dependencies(rc_package rcsetup32)
if(TARGET rc_help)
  add_dependencies(rc_package rc_help)
endif()
