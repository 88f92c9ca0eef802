# The Windows packages, made by the target windows_package in a 32-bit build
# (scripts/package-windows.sh does it all): qm71-<version>-setup.exe, an NSIS
# installer that puts the programs into Program Files with a Start-menu entry
# each and an uninstaller in the system's list of programs, and
# qm71-<version>-win32.zip with the same programs and readme.txt. A program
# joins both through its qm71_install_program() call; nothing else is packed.
set(QM71_PACKAGE_DIR ${PROJECT_BINARY_DIR}/windows-package)
set(QM71_PACKAGE_NAME qm71-${PROJECT_VERSION}-win32)

# qm71_windows_package_program(<target> <summary>)
function(qm71_windows_package_program target summary)
  install(TARGETS ${target} RUNTIME DESTINATION . COMPONENT programs)
  string(TOUPPER ${target} name)
  set_property(GLOBAL APPEND_STRING PROPERTY QM71_WINDOWS_PROGRAMS
    "!insertmacro QM71_PROGRAM \"$<TARGET_FILE_NAME:${target}>\" \"${name}\" \"${summary}\"\n")
  if(TARGET windows_package)
    add_dependencies(windows_package ${target})
  endif()
endfunction()

# The installer holds 32-bit programs only: it installs into the 32-bit
# Program Files and registers itself in the 32-bit view of the registry.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()

configure_file(${PROJECT_SOURCE_DIR}/resources/installer/readme.txt
  ${QM71_PACKAGE_DIR}/readme.txt NEWLINE_STYLE CRLF)
install(FILES ${QM71_PACKAGE_DIR}/readme.txt DESTINATION . COMPONENT programs)

find_program(QM71_MAKENSIS makensis)
if(NOT QM71_MAKENSIS)
  message(STATUS "makensis not found: no Windows installer (install nsis)")
  add_custom_target(windows_package
    COMMAND ${CMAKE_COMMAND} -E echo "makensis not found: install nsis and configure again"
    COMMAND ${CMAKE_COMMAND} -E false)
  return()
endif()

set(stage ${QM71_PACKAGE_DIR}/${QM71_PACKAGE_NAME})
set(zip ${PROJECT_BINARY_DIR}/${QM71_PACKAGE_NAME}.zip)
add_custom_target(windows_package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${zip}
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --component programs
          --prefix ${stage} --strip
  COMMAND ${QM71_MAKENSIS} -V2 -WX -DSOURCE=${PROJECT_SOURCE_DIR} -DVERSION=${PROJECT_VERSION}
          -DFILE_VERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0
          -DSTAGE=${stage} -DPROGRAMS=${QM71_PACKAGE_DIR}/programs.nsh
          -DOUTFILE=${PROJECT_BINARY_DIR}/qm71-${PROJECT_VERSION}-setup.exe
          ${PROJECT_SOURCE_DIR}/resources/installer/qm71.nsi
  COMMAND ${CMAKE_COMMAND} -E chdir ${QM71_PACKAGE_DIR}
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${QM71_PACKAGE_NAME}
  COMMENT "The Windows installer and zip"
  VERBATIM)

# The installer's list of programs, once every program has called
# qm71_install_program().
function(qm71_write_windows_programs)
  get_property(programs GLOBAL PROPERTY QM71_WINDOWS_PROGRAMS)
  file(GENERATE OUTPUT ${QM71_PACKAGE_DIR}/programs.nsh CONTENT "${programs}")
endfunction()
cmake_language(DEFER CALL qm71_write_windows_programs)
