#!/usr/bin/env bash
# The release package of the cross build: builds its zip, then checks
#   - the manifests and version resources read back from both executables;
#   - that the zip holds exactly the five files, README.txt in CR LF, the
#     ASCII example in ASCII and the GBK one in GBK;
#   - that both examples check clean with the native hostconfig-check.
# Usage: tests/package_test.sh [WIN32_BUILD_DIR] [NATIVE_BUILD_DIR]
#        (defaults build/win32 and build/native)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-$root/build/win32}" && pwd)
native=$(cd "${2:-$root/build/native}" && pwd)
windres=${WINDRES:-i686-w64-mingw32-windres}

failures=0
fail() { echo "package_test: FAIL: $*" >&2; failures=$((failures + 1)); }
expect_has() {  # TEXT NEEDLE WHAT
  [[ $1 == *"$2"* ]] || fail "$3: no [$2]"
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
[[ -n $version ]] || { echo "package_test: no project version in $win" >&2; exit 1; }

# --- Resources, read back by windres from the linked executables ---
for exe in hostconfig hostconfig-check; do
  rc=$("$windres" -i "$win/$exe.exe" -O rc) || { fail "$exe.exe: windres cannot read it"; continue; }
  expect_has "$rc" '1 24 /* RT_MANIFEST */' "$exe.exe manifest"
  level=requireAdministrator
  [[ $exe == hostconfig-check ]] && level=asInvoker
  expect_has "$rc" "requestedExecutionLevel level=\"\"$level\"\"" "$exe.exe execution level"
  for os in e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
            4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
            8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    expect_has "$rc" "supportedOS Id=\"\"{$os}\"\"" "$exe.exe supportedOS"
  done
  expect_has "$rc" '1 VERSIONINFO' "$exe.exe version resource"
  expect_has "$rc" "FILEVERSION ${version//./, }, 0" "$exe.exe FILEVERSION"
  expect_has "$rc" 'VALUE "ProductName", "hostconfig"' "$exe.exe ProductName"
  expect_has "$rc" "VALUE \"ProductVersion\", \"$version\"" "$exe.exe ProductVersion"
  expect_has "$rc" "VALUE \"FileVersion\", \"$version\"" "$exe.exe FileVersion"
  expect_has "$rc" "VALUE \"OriginalFilename\", \"$exe.exe\"" "$exe.exe OriginalFilename"
  expect_has "$rc" 'VALUE "FileDescription", "' "$exe.exe FileDescription"
done

# --- The zip ---
cmake --build "$win" --target package >/dev/null
zip=$win/hostconfig-$version-win32.zip
[[ -f $zip ]] || { fail "no $zip"; exit 1; }
listed=$(unzip -Z1 "$zip" | sort)
expected=$(printf '%s\n' README.txt hostconfig-check.exe hostconfig.exe hostconfig.gbk.ini \
  hostconfig.ini | sort)
[[ $listed == "$expected" ]] || fail "zip holds [$(echo $listed)], expected [$(echo $expected)]"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
for exe in hostconfig.exe hostconfig-check.exe; do
  cmp -s "$work/$exe" "$win/$exe" || fail "$exe in the zip differs from the build's"
done
# README.txt: every line ends in CR LF, and it says how to deploy, elevate
# and check.
readme=$work/README.txt
[[ $(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ') == 0d0a ]] || fail "README.txt does not end in CR LF"
[[ $(grep -c $'\r$' "$readme") == $(wc -l <"$readme") ]] || fail "README.txt has lines without CR LF"
for topic in share administrator hostconfig-check.exe; do
  grep -q "$topic" "$readme" || fail "README.txt never mentions $topic"
done
# The ASCII example holds only ASCII; the GBK one holds GBK that is not ASCII.
LC_ALL=C grep -q '[^[:print:][:space:]]' "$work/hostconfig.ini" && fail "hostconfig.ini is not ASCII"
iconv -f GBK -t UTF-8 "$work/hostconfig.gbk.ini" >/dev/null 2>&1 || fail "hostconfig.gbk.ini is not GBK"
LC_ALL=C grep -q $'[\x80-\xff]' "$work/hostconfig.gbk.ini" || fail "hostconfig.gbk.ini holds no Chinese text"
# Both examples are clean for the checker, in GBK.
for ini in hostconfig.ini hostconfig.gbk.ini; do
  out=$("$native/hostconfig-check" --code-page 936 "$work/$ini") ||
    fail "$ini does not check clean: $out"
  # Read as GBK bytes: the GBK example is not UTF-8.
  [[ $out == $'read as code page 936\n0 errors, 0 warnings' ]] || fail "$ini: $out"
done

if ((failures)); then
  echo "package_test: $failures failure(s)" >&2
  exit 1
fi
echo "package_test: resources, zip and examples ok ($zip)"
