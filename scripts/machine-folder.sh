#!/bin/sh
# Makes a machine folder from the sample: copies each of the sample's own
# files (the settings, the Galil program and the production log) that the
# folder does not have yet. Reports a test run may have left in the sample
# folder are not copied, and an operator's own files are never overwritten.
set -eu
sample=$1
folder=$2
mkdir -p "$folder"
for name in setup.dat setup2.dat log.dat; do
    if [ -f "$sample/$name" ] && [ ! -e "$folder/$name" ] && [ ! -L "$folder/$name" ]; then
        cp "$sample/$name" "$folder/$name"
        echo "machine folder: $folder/$name from the sample"
    fi
done
