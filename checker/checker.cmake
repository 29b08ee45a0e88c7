# hostconfig-check, built from the same portable code as the tool, and (in
# the Windows build) the resources of both executables and the release zip.

file(GLOB HOSTCONFIG_CHECKER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/checker/*.cpp)
list(FILTER HOSTCONFIG_CHECKER_SOURCES EXCLUDE REGEX "/checker/(main|here_win32|here_portable)\\.cpp$")
add_library(hostconfig_checker STATIC ${HOSTCONFIG_CHECKER_SOURCES})
target_link_libraries(hostconfig_checker PUBLIC hostconfig_core)

add_executable(hostconfig-check ${CMAKE_SOURCE_DIR}/checker/main.cpp)
target_link_libraries(hostconfig-check PRIVATE hostconfig_checker)

if(NOT WIN32)
  target_sources(hostconfig_checker PRIVATE ${CMAKE_SOURCE_DIR}/os/code_page_portable.cpp
                 ${CMAKE_SOURCE_DIR}/checker/here_portable.cpp)
  target_sources(hostconfig-check PRIVATE ${CMAKE_SOURCE_DIR}/os/dll_search_portable.cpp)
  return()
endif()

# --here reads the PC through the run's own Windows seam.
target_sources(hostconfig_checker PRIVATE ${CMAKE_SOURCE_DIR}/os/code_page_win32.cpp
               ${CMAKE_SOURCE_DIR}/checker/here_win32.cpp)
target_link_libraries(hostconfig_checker PUBLIC hostconfig_win32)
target_sources(hostconfig-check PRIVATE ${CMAKE_SOURCE_DIR}/os/dll_search_win32.cpp)
if(NOT MSVC)
  target_link_options(hostconfig-check PRIVATE ${HOSTCONFIG_WIN_LINK_FLAGS})
endif()

# Resources: manifests and version information, compiled by windres. They
# live in an object library of their own so that the C++ compile options of
# the directory and of hostconfig_core never reach the resource compiler.
enable_language(RC)
set(HOSTCONFIG_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(HOSTCONFIG_RES_DIR ${CMAKE_BINARY_DIR}/res)
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${HOSTCONFIG_RES_DIR}/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/hostconfig.manifest.in ${HOSTCONFIG_RES_DIR}/hostconfig.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/hostconfig-check.manifest.in ${HOSTCONFIG_RES_DIR}/hostconfig-check.manifest @ONLY)
foreach(program hostconfig hostconfig-check)
  add_library(${program}_resources OBJECT ${CMAKE_SOURCE_DIR}/res/${program}.rc)
  set_property(TARGET ${program}_resources PROPERTY COMPILE_OPTIONS "")
  target_include_directories(${program}_resources PRIVATE ${HOSTCONFIG_RES_DIR} ${CMAKE_SOURCE_DIR}/res)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/${program}.rc APPEND PROPERTY OBJECT_DEPENDS
    ${HOSTCONFIG_RES_DIR}/${program}.manifest ${HOSTCONFIG_RES_DIR}/version.h
    ${CMAKE_SOURCE_DIR}/res/version_info.rc)
  target_sources(${program} PRIVATE $<TARGET_OBJECTS:${program}_resources>)
endforeach()

# The release package: `cmake --build <dir> --target package` writes
# hostconfig-<version>-win32.zip.
install(TARGETS hostconfig hostconfig-check RUNTIME DESTINATION .)
install(FILES
  ${CMAKE_SOURCE_DIR}/package/hostconfig.ini
  ${CMAKE_SOURCE_DIR}/package/hostconfig.gbk.ini
  ${CMAKE_SOURCE_DIR}/package/README.txt
  DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME hostconfig)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME hostconfig-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES OFF)
include(CPack)
