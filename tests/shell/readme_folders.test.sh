#!/usr/bin/env bash
# The README names every folder the program reads in its program directory: each folder
# its sources join to that directory ("\NAME\" or "%s\NAME..." at the start of a path
# literal; table rows of subfolders, which open with a brace, are not such joins) is in
# the README, spelled as Windows finds it (in any case), with its trailing backslash.
set -u
src=${VELMORA_SOURCE_DIR:?}
cd "$src" || exit 1
folders=$(grep -rhoE '[^{] *"(%s)?\\\\[A-Za-z]+(\\\\|%s|")' --include=*.cpp --include=*.h \
            model files planview shell tools palette model3d render3d openings3d dialogs |
          sed -E 's/.*"(%s)?\\\\([A-Za-z]+).*/\2/' | tr 'a-z' 'A-Z' | sort -u)
[ -n "$folders" ] || { echo "FAIL no folder found in the sources"; exit 1; }
failed=0
for folder in $folders; do
  grep -qiF "\`$folder\\\`" README.md || { echo "FAIL the README does not name $folder\\"; failed=1; }
done
exit $failed
