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
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(labels ${name})
  if(ARG_TSAN)
    list(APPEND labels tsan)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}" ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
