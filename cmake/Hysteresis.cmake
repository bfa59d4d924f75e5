# Helpers shared by the folder CMakeLists: one library per folder, sources
# found by pattern, so adding a file needs no edit of the build.

# hy_library(NAME DIR [EXCLUDE regex] [PUBLIC deps...] [PRIVATE deps...])
function(hy_library name dir)
  cmake_parse_arguments(A "" "EXCLUDE;INCLUDE" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.qrc)
  if(A_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "${A_EXCLUDE}")
  endif()
  if(A_INCLUDE)
    list(FILTER srcs INCLUDE REGEX "${A_INCLUDE}")
  endif()
  set(cpps ${srcs})
  list(FILTER cpps INCLUDE REGEX "\\.cpp$")
  if(NOT cpps)
    # Nothing to compile yet: a header-only placeholder keeps dependents linking.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${A_PUBLIC})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_PUBLIC} PRIVATE ${A_PRIVATE})
endfunction()

# hy_test(NAME DIR [GUI] LIBS...): one GoogleTest executable from DIR/*.cpp.
# GUI tests run headless on the offscreen platform.
find_package(GTest)
function(hy_test name dir)
  cmake_parse_arguments(A "GUI;OWN_MAIN" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(A_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  # The reference curves live in the repository; a test that cannot read one fails.
  target_compile_definitions(${name} PRIVATE
    HYSTERESIS_REFERENCE_DIR="${PROJECT_SOURCE_DIR}/tests/data/reference")
  set(env "")
  if(A_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
