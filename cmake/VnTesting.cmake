include(GoogleTest)

# One test program: GoogleTest cases discovered by CTest when the tests run,
# so a build never has to execute the test binaries.
function(vn_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  vn_set_warnings(${name})
  set(labels unit)
  if(ARG_LABELS)
    set(labels ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}"
               ${ARG_PROPERTIES}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               # One value per property: a list here would be split by the discovery.
               ENVIRONMENT_MODIFICATION "VN_TEST_BINARY_DIR=set:${CMAKE_BINARY_DIR}")
endfunction()
