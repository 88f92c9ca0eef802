# qm71_test(<name> SOURCES <files...> LIBS <targets...> [QT])
# One GoogleTest executable; each test case becomes a ctest entry.
# QT marks tests that open widgets: they run on the offscreen platform.
function(qm71_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(env "QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120)
endfunction()

# qm71_fuzz(<name> SOURCES <files...> LIBS <targets...>)
# libFuzzer target; only built when QM71_FUZZ is on (clang).
function(qm71_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
endfunction()

# Adds each listed sub-folder that has a CMakeLists.txt. QM71_SKIP_DIRS lists
# folders (relative to the source root) to leave out of a local build.
set(QM71_SKIP_DIRS "" CACHE STRING "Folders to leave out, relative to the source root")
macro(qm71_subdirs)
  foreach(sub ${ARGN})
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${sub})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt AND NOT rel IN_LIST QM71_SKIP_DIRS)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()
