#!/usr/bin/env bash
# The build's resource compiler: windres, given every folder and file it reads through links
# of plain names. windres runs its preprocessor through sh, with the include folders and the
# script's path written into that command line: a ` or a $ in a folder's path would run
# there as a command, and a ' would end the build.
#   windres.sh [windres options] SCRIPT.rc OUTPUT
set -euo pipefail
windres=x86_64-w64-mingw32-windres  # on PATH, as the toolchain finds it
# The links live in the folder the build runs it in, inside the build folder, and only
# as long as it runs.
links=
trap '[ -z "$links" ] || rm -rf -- "$links"' EXIT
links=$(mktemp -d windres.XXXXXX)
n=0
link() {  # link FOLDER: sets link to a name, relative and plain, that leads to the folder
  local target=$1
  [[ $target == /* ]] || target=$PWD/$target
  n=$((n + 1)) link=$links/$n
  ln -sT -- "$target" "$link"
}
args=() positional=0
while [ $# -gt 0 ]; do
  case $1 in
    -I | --include-dir) link "$2"; args+=("$1" "$link"); shift 2 ;;
    -I*) link "${1#-I}"; args+=("-I$link"); shift ;;
    --include-dir=*) link "${1#*=}"; args+=("--include-dir=$link"); shift ;;
    -O | -D | -U | -F | -J | -c | -l) args+=("$1" "$2"); shift 2 ;;
    -*) args+=("$1"); shift ;;
    *)
      positional=$((positional + 1))
      if [ $positional = 1 ]; then
        # Through a link to its folder, where the files it includes are found.
        name=${1##*/} folder=.
        [[ $1 != */* ]] || folder=${1%/*}/
        if [[ ! $name =~ ^[A-Za-z0-9._-]+$ ]]; then
          echo "windres.sh: a resource script needs a plain name (letters, digits, . _ -), not $name" >&2
          exit 1
        fi
        link "$folder"
        args+=("$link/$name")
      else
        # The output is opened by windres itself, never named to a shell.
        args+=("$1")
      fi
      shift ;;
  esac
done
"$windres" "${args[@]}"
