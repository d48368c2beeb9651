#!/usr/bin/env bash
# Stages the files of a release in a folder of their own, as the zip and the
# installer take them: each file and the folder dated SOURCE_DATE_EPOCH and
# given fixed permissions (the zip keeps both, the installer the dates), so
# the packages are the same bytes whoever builds them, wherever and whenever.
# Usage: SOURCE_DATE_EPOCH=SECONDS stage.sh FOLDER FILE...
set -euo pipefail
folder=$1
shift
rm -rf "$folder"
mkdir -p "$folder"
cp "$@" "$folder"
chmod 0755 "$folder"
chmod 0644 "$folder"/*
chmod 0755 "$folder"/*.exe
touch -d "@$SOURCE_DATE_EPOCH" "$folder" "$folder"/*
