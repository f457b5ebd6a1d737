#!/bin/sh
# Writes PNG grabs of the default skin as a user sees it: the main window (normal, a key and a
# profile button under the pointer, a few keys assigned with one pressed) and the key-assignment
# dialog (its background, its key page and its macro page); and the real main window on the
# simulated keyboard with a few keys assigned, with its top row swapped to D1-D6, its
# key-assignment dialog on each page (the macro page also while recording and while a delay is
# typed), its profile manager and update dialog, then with the lighting panel open on the per-key
# effect; and the About box in English and Chinese.
#
#   tools/screenshots/screenshots.sh [build folder] [output folder]
#
# Builds the generator, the skin and the grabbing program in the build folder first (default
# build/screenshots, configured when missing); the grabs go to the output folder (default
# <build folder>/screenshots). Needs no display: everything renders offscreen.
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/build/screenshots}
out_dir=${2:-$build_dir/screenshots}

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build_dir" --target skinshot mainshot -j2
QT_QPA_PLATFORM=offscreen "$build_dir/tools/screenshots/skinshot" "$build_dir/bin" "$out_dir"
QT_QPA_PLATFORM=offscreen "$build_dir/tools/screenshots/mainshot" "$build_dir/bin" "$out_dir"
