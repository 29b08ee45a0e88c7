# The Windows build: the real executable, 32-bit, console, static, for
# Windows XP SP3 and later.
target_compile_definitions(hostconfig_core PUBLIC _WIN32_WINNT=0x0501 WINVER=0x0501 WIN32_LEAN_AND_MEAN NOMINMAX)

# Only DLLs on the KnownDLLs list of every Windows from XP on are imported:
# Windows maps those from the system directory whatever the search order. The
# IP helper library is not one; win32_system.cpp loads it from the system
# directory at run time, so it is deliberately not linked here.
add_library(hostconfig_win32 STATIC ${CMAKE_SOURCE_DIR}/os/win32_system.cpp
  ${CMAKE_SOURCE_DIR}/os/win32_process.cpp)
target_link_libraries(hostconfig_win32 PUBLIC hostconfig_core advapi32 user32 kernel32)

add_executable(hostconfig ${CMAKE_SOURCE_DIR}/app/main.cpp ${CMAKE_SOURCE_DIR}/os/dll_search_win32.cpp)
target_link_libraries(hostconfig PRIVATE hostconfig_win32)

# The Wine tests' stand-in for netsh.exe and wineboot.exe: records each
# command line it is started with.
add_executable(recorder ${CMAKE_SOURCE_DIR}/tests/wine/recorder.cpp)
# And one that holds a file open for writing, so that no one else can open it.
add_executable(hold_open ${CMAKE_SOURCE_DIR}/tests/wine/hold_open.cpp)
# And a DLL that leaves "<its path>.loaded" beside itself when it is loaded:
# copies of it under the names of DLLs that are not KnownDLLs show whether
# an executable loads such a DLL from its folder or working directory.
add_library(load_marker SHARED ${CMAKE_SOURCE_DIR}/tests/wine/load_marker.cpp)
set_target_properties(load_marker PROPERTIES PREFIX "")
foreach(helper recorder hold_open load_marker)
  target_compile_definitions(${helper} PRIVATE _WIN32_WINNT=0x0501 WINVER=0x0501 WIN32_LEAN_AND_MEAN NOMINMAX)
endforeach()
# And a check of the settings lookup's pre-check against every locale the
# system lists (CompareStringEx and EnumSystemLocalesEx: Vista and later).
add_executable(locale_digits ${CMAKE_SOURCE_DIR}/tests/wine/locale_digits.cpp)
target_compile_definitions(locale_digits PRIVATE _WIN32_WINNT=0x0600 WINVER=0x0600 WIN32_LEAN_AND_MEAN NOMINMAX UNICODE)

if(NOT MSVC)
  # Static runtime, XP subsystem version, console subsystem; unused code is
  # dropped and symbols stripped to keep the executable small.
  target_compile_options(hostconfig_core PUBLIC -ffunction-sections -fdata-sections)
  set(HOSTCONFIG_WIN_LINK_FLAGS
    -static -static-libgcc -static-libstdc++
    -Wl,--subsystem,console:5.01
    -Wl,--major-os-version,5 -Wl,--minor-os-version,1
    -Wl,--gc-sections -s)
  target_sources(hostconfig PRIVATE ${CMAKE_SOURCE_DIR}/cmake/mingw_no_demangle.cpp)
  target_link_options(hostconfig PRIVATE ${HOSTCONFIG_WIN_LINK_FLAGS})
  target_link_options(recorder PRIVATE ${HOSTCONFIG_WIN_LINK_FLAGS})
  target_link_options(hold_open PRIVATE ${HOSTCONFIG_WIN_LINK_FLAGS})
  target_link_options(locale_digits PRIVATE ${HOSTCONFIG_WIN_LINK_FLAGS})
  # The marker needs no runtime DLL of its own either.
  target_link_options(load_marker PRIVATE -static -static-libgcc -static-libstdc++ -s)
  target_compile_definitions(hostconfig_core PUBLIC __USE_MINGW_ANSI_STDIO=0)
endif()

# hostconfig-check and the release package.
include(${CMAKE_SOURCE_DIR}/checker/checker.cmake)
