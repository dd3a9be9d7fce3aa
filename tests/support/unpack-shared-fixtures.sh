#!/bin/sh
# Unpacks the reference disk images beside the project into the build tree,
# once; tests that compare against them skip when the folder is absent.
set -eu
src=$1
dest=$2
[ -d "$src" ] || { echo "no reference fixtures at $src: their tests will skip"; exit 0; }
mkdir -p "$dest"
for archive in "$src"/*.img.gz; do
  [ -e "$archive" ] || continue
  image="$dest/$(basename "$archive" .gz)"
  [ "$image" -nt "$archive" ] && continue
  gzip -dc "$archive" > "$image.part"
  mv "$image.part" "$image"
done
