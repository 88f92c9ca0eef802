# qm71_test(<name> SOURCES <files...> LIBS <targets...> [QT] [TIMING])
# One GoogleTest executable; each test case becomes a ctest entry, run with
# QT_QPA_PLATFORM=offscreen so that widget tests need no display (QT only
# documents that a test opens widgets). TIMING marks tests that measure real
# time-outs on pseudo-terminals: they run one at a time, so that a busy
# machine does not stretch their margins.
function(qm71_test name)
  cmake_parse_arguments(T "QT;TIMING" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qm71_testing GTest::gtest GTest::gtest_main)
  set(serial FALSE)
  if(T_TIMING)
    set(serial TRUE)
  endif()
  # Cross-built tests are listed when ctest runs (under Wine), not while building.
  set(discovery POST_BUILD)
  if(CMAKE_CROSSCOMPILING)
    set(discovery PRE_TEST)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE ${discovery}
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 120 RUN_SERIAL ${serial})
endfunction()

# qm71_fuzz(<name> SOURCES <files...> LIBS <targets...>)
# libFuzzer target; only built when QM71_FUZZ is on (clang). Each one is a
# ctest test labelled "fuzz" that runs for QM71_FUZZ_SECONDS on its corpus in
# the build folder (kept from run to run); what makes it crash is saved in
# fuzz-artifacts/. The target "fuzz" builds them all.
set(QM71_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz test runs, in seconds")
function(qm71_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})

  if(NOT TARGET fuzz)
    add_custom_target(fuzz)
  endif()
  add_dependencies(fuzz ${name})
  set(corpus ${PROJECT_BINARY_DIR}/corpus/${name})
  set(artifacts ${PROJECT_BINARY_DIR}/fuzz-artifacts)
  file(MAKE_DIRECTORY ${corpus} ${artifacts})
  add_test(NAME ${name}
    COMMAND ${name} -max_total_time=${QM71_FUZZ_SECONDS} -print_final_stats=1
            -artifact_prefix=${artifacts}/${name}- ${corpus})
  math(EXPR timeout "${QM71_FUZZ_SECONDS} * 2 + 60")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${timeout})
endfunction()

# Adds each listed sub-folder that has a CMakeLists.txt. QM71_SKIP_DIRS lists
# folders (relative to the source root) to leave out of a local build.
# Folders are tied to a platform by their name: "ui", "qt" and "posix" hold the
# Linux front ends and ports (qm71-camsim serves a pseudo-terminal), "win32"
# the Windows ones.
set(QM71_SKIP_DIRS "" CACHE STRING "Folders to leave out, relative to the source root")
if(WIN32)
  set(QM71_OTHER_PLATFORM_DIRS ui qt posix camsim)
else()
  set(QM71_OTHER_PLATFORM_DIRS win32)
endif()
macro(qm71_subdirs)
  foreach(sub ${ARGN})
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${sub})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt AND NOT rel IN_LIST QM71_SKIP_DIRS
       AND NOT sub IN_LIST QM71_OTHER_PLATFORM_DIRS)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()

# qm71_win32_program(<name> RC <script.rc> [RESOURCES <files...>] LIBS <targets...>
#                    SUMMARY <text>)
# A Win32 GUI program from main.cpp and its resource script. The compiled
# resources are the object library <name>_rc, which the program's wiring tests
# link as well; RESOURCES lists what the script includes from resources/, so
# that a change to one of them compiles it again. The program goes into the
# Windows packages (qm71_install_program).
function(qm71_win32_program name)
  cmake_parse_arguments(P "" "RC;SUMMARY" "RESOURCES;LIBS" ${ARGN})
  add_library(${name}_rc OBJECT ${P_RC})
  target_include_directories(${name}_rc PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/resources)
  list(TRANSFORM P_RESOURCES PREPEND ${PROJECT_SOURCE_DIR}/resources/)
  set_source_files_properties(${P_RC} PROPERTIES OBJECT_DEPENDS "${P_RESOURCES}")
  add_executable(${name} WIN32 main.cpp $<TARGET_OBJECTS:${name}_rc>)
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  qm71_install_program(${name} SUMMARY ${P_SUMMARY})
endfunction()
