# Installing the programs where a Debian user expects them, and the Debian
# package: `cpack -G DEB` in the build folder (scripts/package.sh does it all).
# Only what a qm71_install_* call names is installed: tests, benchmarks and
# their helpers never are.
include(GNUInstallDirs)

find_program(QM71_HELP2MAN help2man)
find_program(QM71_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(NOT QM71_HELP2MAN)
  message(STATUS "help2man not found: the programs are installed without manual pages")
endif()

# qm71_install_program(<target> SUMMARY <text> [DESKTOP <file>] [ICON <name>])
# Installs the program to bin/ with a manual page made from its --help output
# (SUMMARY: what the program is, in a few words, for the page's NAME line).
# A desktop program also gets its .desktop entry and its icon from
# resources/icons: <name>.svg as the scalable icon and <name>.png, when there
# is one, at the size it is drawn in. Adds a test that the program answers
# --help and --version without a display and refuses an unknown option, and
# one that the desktop entry is valid.
# On Windows the program goes into the Windows packages instead (see
# windows_package.cmake), with a Start-menu entry named as the program in
# capitals (QM, QMDEMO) that has SUMMARY as its comment.
function(qm71_install_program target)
  cmake_parse_arguments(P "" "SUMMARY;DESKTOP;ICON" "" ${ARGN})
  if(NOT P_SUMMARY)
    message(FATAL_ERROR "qm71_install_program(${target}): SUMMARY is missing")
  endif()
  if(WIN32)
    qm71_windows_package_program(${target} "${P_SUMMARY}")
    return()
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  add_test(NAME ${target}_command_line
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/check_command_line.sh
            $<TARGET_FILE:${target}> ${target} ${PROJECT_VERSION})
  set_tests_properties(${target}_command_line PROPERTIES TIMEOUT 30)

  if(QM71_HELP2MAN)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${QM71_HELP2MAN} --no-info --section=1 --name=${P_SUMMARY}
              --output=${page} $<TARGET_FILE:${target}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${target}
      COMMENT "Manual page of ${target}"
      VERBATIM)
    add_custom_target(${target}_man ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()

  if(P_DESKTOP)
    install(FILES ${P_DESKTOP} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    if(QM71_DESKTOP_FILE_VALIDATE)
      add_test(NAME ${target}_desktop_entry COMMAND ${QM71_DESKTOP_FILE_VALIDATE} ${P_DESKTOP})
      set_tests_properties(${target}_desktop_entry PROPERTIES
        FAIL_REGULAR_EXPRESSION "error|warning|hint")
    endif()
  endif()

  if(P_ICON)
    set(icon ${PROJECT_SOURCE_DIR}/resources/icons/${P_ICON})
    set(theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${icon}.svg DESTINATION ${theme}/scalable/apps)
    if(EXISTS ${icon}.png)
      # Width and height are the first two words of the PNG's header chunk.
      file(READ ${icon}.png size OFFSET 16 LIMIT 8 HEX)
      string(SUBSTRING ${size} 0 8 width)
      string(SUBSTRING ${size} 8 8 height)
      math(EXPR width "0x${width}")
      math(EXPR height "0x${height}")
      install(FILES ${icon}.png DESTINATION ${theme}/${width}x${height}/apps)
    endif()
  endif()
endfunction()

# qm71_install_library(<target> HEADERS <files...>)
# Installs a library for programs outside this project: the library to lib/,
# its headers to include/qm71/ (#include <qm71/header.h>), and the CMake package
# file, so that find_package(qm71) gives the target qm71::<target>. The library
# must stand on its own (link no other target of ours publicly), name its source
# include folder as $<BUILD_INTERFACE:...>, and its headers include only one
# another.
function(qm71_install_library target)
  cmake_parse_arguments(L "" "" "HEADERS" ${ARGN})
  install(TARGETS ${target} EXPORT qm71Targets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(FILES ${L_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qm71)

  # One package file serves every library.
  get_property(packaged GLOBAL PROPERTY QM71_PACKAGE_FILE)
  if(packaged)
    return()
  endif()
  set_property(GLOBAL PROPERTY QM71_PACKAGE_FILE TRUE)
  include(CMakePackageConfigHelpers)
  set(dir ${CMAKE_INSTALL_LIBDIR}/cmake/qm71)
  file(WRITE ${PROJECT_BINARY_DIR}/qm71Config.cmake
    "include(\${CMAKE_CURRENT_LIST_DIR}/qm71Targets.cmake)\n")
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/qm71ConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(EXPORT qm71Targets NAMESPACE qm71:: DESTINATION ${dir})
  install(FILES ${PROJECT_BINARY_DIR}/qm71Config.cmake
                ${PROJECT_BINARY_DIR}/qm71ConfigVersion.cmake DESTINATION ${dir})
endfunction()

# The Debian package: qm71_<version>_<arch>.deb. dpkg-shlibdeps (dpkg-dev)
# works out the libraries it depends on, Qt among them, so that
# `apt install ./qm71_*.deb` brings them along.
set(QM71_PACKAGE_CONTACT "QM71 developers <qm71@example.org>"
  CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_NAME qm71)
set(CPACK_PACKAGE_VENDOR "QM71")
set(CPACK_PACKAGE_CONTACT ${QM71_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "host programs for the QM71 frame-grabber card")
set(CPACK_PACKAGE_DESCRIPTION
  "The area-camera viewer QM and the line-camera demo QMDEMO for the QM71\n\
camera interface, and the camera emulator qm71-camsim. Without the card, QM\n\
and QMDEMO show the moving test pictures of a simulated card.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
include(CPack)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows_package.cmake)
endif()
