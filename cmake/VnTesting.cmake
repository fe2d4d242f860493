include(GoogleTest)

# One test program: GoogleTest cases discovered by CTest when the tests run,
# so a build never has to execute the test binaries.
#   LABELS      labels of every case (default: unit)
#   PROPERTIES  further single-valued test properties (key value ...)
function(vn_add_test name)
  cmake_parse_arguments(ARG "QT" "EXECUTOR" "SOURCES;DEPS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  vn_set_warnings(${name})
  # A program the test (and its listing) runs under, such as a session set-up.
  if(ARG_EXECUTOR)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${ARG_EXECUTOR})
  endif()
  set(labels unit)
  if(ARG_LABELS)
    set(labels ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    TEST_LIST ${name}_TESTS
    PROPERTIES ${ARG_PROPERTIES})

  # List-valued properties cannot pass through the discovery's flat key/value
  # list, so they are set on the discovered cases by a script CTest runs after
  # the discovery's own.
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake")
  file(WRITE "${script}"
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES\n"
    "    LABELS \"${labels}\"\n"
    "    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;VN_TEST_BINARY_DIR=${CMAKE_BINARY_DIR}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
