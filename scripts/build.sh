#!/usr/bin/env bash
# Configures and builds into a build folder (default: build/ of the repository), which
# keeps everything the build writes, the configuration's log (configure.log) among it.
# With --check it only refuses a repository or build folder whose path the tools cannot
# take, as the build itself does before anything is made.
#   scripts/build.sh [--check] [DIR]
set -euo pipefail
unset CDPATH
# Whole paths, whatever they hold ("$( )" would drop a trailing newline).
root=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd && echo .) && root=${root%?.}
check_only=0
if [ "${1:-}" = --check ]; then check_only=1; shift; fi
build=${1:-$root/build}
[[ $build == /* ]] || build=$PWD/$build

# Characters that CMake and make cannot take in a path (measured with CMake 3.25 and GNU
# make), each refused by name before anything is made: a line's end or another control
# character ends a line of their files; CMake splits its lists at ";" and reads its own
# escapes and quotes in "\" and '"'; make takes what follows "#" for a comment. In the
# repository's path also ":" and "|", which make reads in its rules' targets, and "${",
# "$ENV{" or "$CACHE{", which CMake expands where it names the toolchain file. Any other
# character is passed on as it stands and never run as a command.
refuse_unusable() {  # refuse_unusable WHAT PATH CHARACTERS [cmake]
  local what=$1 path=$2 bad=$3 i c name=
  for ((i = 0; i < ${#path}; i++)); do
    c=${path:i:1}
    if [[ $c == [[:cntrl:]] ]]; then
      case $c in
        $'\n') name="a line's end" ;;
        $'\t') name="a tab" ;;
        *) name=$(printf 'the control character 0x%02X' "'$c") ;;
      esac
    elif [[ $bad == *"$c"* ]]; then
      name="'$c'"
    elif [ -n "${4:-}" ] && [ "$c" = '$' ] && [[ ${path:i+1} =~ ^(ENV|CACHE)?\{ ]]; then
      name="'\$${BASH_REMATCH[1]}{'"
    fi
    if [ -n "$name" ]; then
      echo "build: the path of the $what holds $name, which CMake and make cannot take; choose a folder whose path has none: $path" >&2
      exit 1
    fi
  done
}
refuse_unusable repository "$root" ';#"\:|' cmake
refuse_unusable "build folder" "$build" ';#"\'
[ "$check_only" = 0 ] || exit 0

mkdir -p -- "$build"
log=$build/configure.log
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build "$build" -j"$(nproc)"
