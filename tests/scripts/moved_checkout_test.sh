#!/usr/bin/env bash
# A copy of the checkout, build folder included, configures: the copied
# build folder belongs to the old place and is made afresh. $1 is the build
# folder whose cache is copied, wherever it is.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
(cd "$src" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy")
mkdir -p "$copy/build/host"
cp "${1:-$src/build/host}/CMakeCache.txt" "$copy/build/host/"
cd "$copy"
scripts/configure host
grep -q "CMAKE_HOME_DIRECTORY:INTERNAL=$copy\$" build/host/CMakeCache.txt
echo "the copied checkout configured for its own folder"
