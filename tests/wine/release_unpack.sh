#!/usr/bin/env bash
# Packs the release with tools/dist and unpacks its BUILD zip into a fresh
# folder, as a Windows user would; ProgramStart.FromTheUnpackedRelease then
# starts the program there.
# Usage: release_unpack.sh DIST FOLDER BUILD (win64 or win32)
set -euo pipefail
dist=$1 folder=$2 build=$3
rm -rf "$folder" "$folder-zips"
"$dist" "$folder-zips"
unzip -q "$folder-zips"/pokopon-*-"$build".zip -d "$folder-zips/unpacked"
# The zip holds one folder, pokopon-VERSION: FOLDER is that folder.
mv "$folder-zips"/unpacked/pokopon-*/ "$folder"
