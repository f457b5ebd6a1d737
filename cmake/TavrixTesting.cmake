# tavrix_add_test(<name> SOURCES <files...> LIBS <targets...> [TSAN])
#
# One GoogleTest binary per subsystem, its cases registered one by one with CTest. Tests
# marked TSAN are the ones the ThreadSanitizer run executes (the device link and everything
# that shares state between threads); Qt itself is not instrumented, so widget tests stay out.
include(GoogleTest)
find_package(GTest REQUIRED)

function(tavrix_add_test name)
  cmake_parse_arguments(ARG "TSAN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock test_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # One label per binary: discovered tests get their properties as a flat list, so a list of
  # labels would not survive. "ctest -L tsan" matches the suffix.
  set(label ${name})
  if(ARG_TSAN)
    set(label ${name}-tsan)
  endif()
  # Suites named *UnderXvfb run only inside the X server their outer case starts (RunUnderXvfb),
  # so they are not listed on their own.
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    TEST_FILTER "-*UnderXvfb.*"
    PROPERTIES LABELS ${label} ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
