#!/bin/sh
# Makes a machine folder from the sample: copies each sample file that the
# folder does not have yet. An operator's own files are never overwritten.
set -eu
sample=$1
folder=$2
mkdir -p "$folder"
for f in "$sample"/*; do
    name=$(basename "$f")
    if [ ! -e "$folder/$name" ]; then
        cp "$f" "$folder/$name"
        echo "machine folder: $folder/$name from the sample"
    fi
done
