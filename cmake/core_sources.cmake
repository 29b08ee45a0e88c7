# The portable code: everything above the operating system seam. Sets
# HOSTCONFIG_CORE_SOURCES from HOSTCONFIG_ROOT, the project's top folder.
file(GLOB HOSTCONFIG_CORE_SOURCES CONFIGURE_DEPENDS
  ${HOSTCONFIG_ROOT}/app/*.cpp
  ${HOSTCONFIG_ROOT}/discovery/*.cpp
  ${HOSTCONFIG_ROOT}/settings/*.cpp
  ${HOSTCONFIG_ROOT}/system/*.cpp)
list(FILTER HOSTCONFIG_CORE_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
