#!/usr/bin/env bash
# Fails when a C or C++ source differs from what the committed .clang-format makes of it, and
# names each such file; "clang-format -i <file>" mends it.
#   tests/style/check_format.sh <source folder>
set -uo pipefail
cd "$1" || exit 1

mapfile -d '' files < <(find dexlink sim src tests tools -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" > /dev/null 2>&1 || unformatted+=("$file")
done
[ ${#unformatted[@]} -eq 0 ] && { echo "${#files[@]} sources formatted"; exit 0; }
printf 'not formatted (clang-format -i <file>): %s\n' "${unformatted[@]}"
exit 1
