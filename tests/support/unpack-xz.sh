#!/bin/sh
# unpack-xz.sh ARCHIVE IMAGE: unpacks through a temporary name so that an
# interrupted build never leaves a short image behind.
set -eu
mkdir -p "$(dirname "$2")"
xz -dc "$1" > "$2.part"
mv "$2.part" "$2"
