#!/bin/sh
# Makes the pictures of docs/screenshots/: the main window as it opens and
# each tool page, drawn without a screen (Qt's offscreen platform), under a
# temporary home so that no one's settings show in them or are changed.
# KORVALA=path/to/korvala uses that program instead of building one.
set -e
cd "$(dirname "$0")/.."
top=$PWD
if [ -z "$KORVALA" ]; then
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_TESTS=OFF >/dev/null
  cmake --build build-release --target korvala
  KORVALA=$top/build-release/app/korvala
fi
out=$top/docs/screenshots
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"

shot() { # FILE [PAGE]
  file=$out/$1.png
  shift
  if [ $# -gt 0 ]; then set -- --page "$1"; fi
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
  XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen \
    "$KORVALA" --screenshot "$file" "$@"
  echo "$file"
}

shot main-window
for page in "Attribute Changer" "Batch Folder Creator" "DateTime Changer" \
  "Duplicate Finder" "File Shredder" "Folder Icon Changer" "Hash" \
  "Hidden Revealer" "Protector" "Seeker" "Sharing" "Splitter & Joiner" \
  "Take Ownership"; do
  name=$(printf '%s' "$page" | tr 'A-Z ' 'a-z-' | tr -d '&' | tr -s '-')
  shot "$name" "$page"
done
