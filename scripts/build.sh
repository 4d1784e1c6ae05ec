#!/usr/bin/env bash
# Configures and builds into a build folder (default: build/ of the repository), which
# keeps everything the build writes, the configuration's log (configure.log) among it.
# With --check it only refuses a repository or build folder whose path the tools cannot
# take, as the build itself does before anything is made; with --check --tests also one
# too long for the tests' own files.
#   scripts/build.sh [--check [--tests]] [DIR]
set -euo pipefail
unset CDPATH
# Whole paths, whatever they hold ("$( )" would drop a trailing newline).
root=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd && echo .) && root=${root%?.}
check_only=0 for_tests=0
if [ "${1:-}" = --check ]; then check_only=1; shift; fi
if [ "$check_only" = 1 ] && [ "${1:-}" = --tests ]; then for_tests=1; shift; fi
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
# Names that Windows cannot hold, which Wine then cannot name (measured with Wine 8): a
# folder whose path holds "*", "?", "<", ">" or "|" is out of its reach (it starts a
# program there in C:\windows, and makes no prefix there), and a name ending in a blank or
# a dot loses it, so that "x." is the neighbour "x", or no folder.
refuse_unnamed() {  # refuse_unnamed WHAT PATH
  local what=$1 path=$2 i name names
  for ((i = 0; i < ${#path}; i++)); do
    if [[ ${path:i:1} == [*?\<\>\|] ]]; then
      echo "build: the path of the $what holds '${path:i:1}', which Windows names cannot hold; choose a folder whose path has none: $path" >&2
      exit 1
    fi
  done
  IFS=/ read -ra names <<<"$path"
  for name in "${names[@]}"; do
    case $name in
      . | ..) ;;
      *' ' | *.)
        echo "build: the name \"$name\" in the path of the $what ends in $([[ $name == *. ]] && echo a dot || echo a blank)," \
          "which Windows drops, so that it names another folder or none; choose a folder whose path has none: $path" >&2
        exit 1 ;;
    esac
  done
}
# The length of a path as velmora.exe names it, on Wine's drive Z:, each name that code
# page 1252 cannot hold by its short form: eight characters (up to four of the name, "~"
# to five, three of a hash), then, where a dot stands after the name's first character
# and before its last, a dot and at most three of what follows the last dot, counted as
# Windows counts them (UTF-16: a character beyond the 65,536 first is two). A name of one
# or two characters has no such dot.
windows_length() {
  local LC_ALL=C.UTF-8 name names length=2 inner units
  IFS=/ read -ra names <<<"$1"
  for name in "${names[@]}"; do
    [ -n "$name" ] || continue
    if printf '%s' "$name" | iconv -f UTF-8 -t CP1252 >/dev/null 2>&1; then
      length=$((length + 1 + ${#name}))
    else
      inner=${name:1} inner=${inner%?}
      length=$((length + 9))
      if [[ $inner == *.* ]]; then
        units=$(printf '%s' "${name##*.}" | iconv -f UTF-8 -t UTF-16LE | wc -c)
        length=$((length + 1 + (units / 2 < 3 ? units / 2 : 3)))
      fi
    fi
  done
  echo "$length"
}
refuse_unusable repository "$root" ';#"\:|' cmake
refuse_unusable "build folder" "$build" ';#"\'
refuse_unnamed repository "$root"
refuse_unnamed "build folder" "$build"
# A print's program folder is BUILD\print-sample (13 characters more), and the longest name
# it opens there is its copy of the plan, given by its whole path: a backslash and 52
# characters (print-sample.sh), more than the symbol files' 36. Every path the program
# opens takes at most 259 characters.
length=$(windows_length "$build")
if [ "$length" -gt $((259 - 13 - 53)) ]; then
  echo "build: the path of the build folder is $length characters long as Windows programs name it, more than the" \
    "$((259 - 13 - 53)) with which the files a print opens stay within the 259 characters that velmora.exe can open;" \
    "choose a folder with a shorter path: $build" >&2
  exit 1
fi
# The tests make their files in BUILD\testwd\TEST\tc\SUITE.CASE, names of up to 121
# characters beyond the build folder, and their saves' working files beside them; measured,
# every test passes where the build folder takes at most 120 characters.
if [ "$for_tests" = 1 ] && [ "$length" -gt 120 ]; then
  echo "build: the path of the build folder is $length characters long as Windows programs name it, more than the" \
    "120 with which the tests' own files stay within the 259 characters that velmora.exe can open (prints take up to" \
    "$((259 - 13 - 53))); choose a folder with a shorter path for the tests: $build" >&2
  exit 1
fi
[ "$check_only" = 0 ] || exit 0

mkdir -p -- "$build"
log=$build/configure.log
# The tests' time limits are scaled by the factor that scripts/test.sh measures (in percent);
# a build on its own sets those of a quiet machine.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TEST_TIME_SCALE="${VELMORA_TEST_TIME_SCALE:-100}" >"$log" 2>&1 ||
  { cat "$log"; exit 1; }
cmake --build "$build" -j"$(nproc)"
