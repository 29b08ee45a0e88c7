# The portable code: everything above the operating system seam. Sets
# HOSTCONFIG_CORE_SOURCES.
file(GLOB HOSTCONFIG_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp
  ${CMAKE_SOURCE_DIR}/discovery/*.cpp
  ${CMAKE_SOURCE_DIR}/settings/*.cpp
  ${CMAKE_SOURCE_DIR}/system/*.cpp
  ${CMAKE_SOURCE_DIR}/util/*.cpp)
list(FILTER HOSTCONFIG_CORE_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
