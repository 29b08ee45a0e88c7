# The native build: the portable code and its GoogleTest suites.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB HOSTCONFIG_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
add_executable(hostconfig_tests ${HOSTCONFIG_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fake_machine.cpp)
target_link_libraries(hostconfig_tests PRIVATE hostconfig_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(hostconfig_tests DISCOVERY_TIMEOUT 60)

# hostconfig-check and the release package.
include(${CMAKE_SOURCE_DIR}/checker/checker.cmake)
