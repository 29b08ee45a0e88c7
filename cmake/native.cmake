# The native build: the portable code and its GoogleTest suites.
find_package(GTest REQUIRED)
include(GoogleTest)

# hostconfig-check, and the tests that run it.
include(${CMAKE_SOURCE_DIR}/checker/checker.cmake)

file(GLOB HOSTCONFIG_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
add_executable(hostconfig_tests ${HOSTCONFIG_TEST_SOURCES})
target_link_libraries(hostconfig_tests PRIVATE hostconfig_fake hostconfig_checker
                      GTest::gtest GTest::gtest_main)
gtest_discover_tests(hostconfig_tests DISCOVERY_TIMEOUT 60)
