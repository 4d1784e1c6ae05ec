#!/usr/bin/env bash
# velmora-test: timeout 300
# A clone and a build folder named in letters that code page 1252 lacks ("Проект"): a
# source holding __FILE__ compiles there with the project's flags, its strings free of
# the clone's path, and a test program runs from there with the companion stand-in
# beside it (both take their paths as wide text).
set -u
. "$(dirname "$0")/../support/waits.sh"
WINE=/usr/lib/wine/wine64
work=$(pwd)
clone=$work/Проект
rm -rf "$clone" && mkdir -p "$clone/tests" || exit 1
printf '#include <cstdio>\nint main() { std::puts(__FILE__); }\n' >"$clone/file_macro.cpp"
printf '%s\n' 'cmake_minimum_required(VERSION 3.20)' 'project(FileMacro CXX)' \
  'include("$ENV{VELMORA_SOURCE_DIR}/cmake/exec_charset.cmake")' 'add_executable(file_macro file_macro.cpp)' >"$clone/CMakeLists.txt"
failed=0
if cmake -S "$clone" -B "$clone/build" -DCMAKE_TOOLCHAIN_FILE="$VELMORA_SOURCE_DIR/cmake/mingw-w64-x86_64.cmake" \
    >"$work/file_macro.log" 2>&1 && cmake --build "$clone/build" >>"$work/file_macro.log" 2>&1; then
  said=$("$WINE" "$clone/build/file_macro.exe" 2>/dev/null </dev/null | tr -d '\r')
  [ "$said" = file_macro.cpp ] || { echo "FAIL __FILE__ is \"$said\""; failed=1; }
else
  echo "FAIL a source holding __FILE__ does not compile in $clone:"; grep -m 3 error "$work/file_macro.log"; failed=1
fi
cp "$VELMORA_BINARY_DIR/tests/"{shell_companions,companion_standin}.exe "$clone/tests/" || exit 1
(cd "$clone" && timeout "$(scaled 120)" "$WINE" tests/shell_companions.exe --gtest_filter=Companions.FurnitureEditorGetsTheUnitLetter \
  >"$work/companions.log" 2>&1 </dev/null) || { echo "FAIL a test program in $clone:"; tail -n 20 "$work/companions.log"; failed=1; }
exit $failed
