#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts the desktop program.
# The data folder is data/ in the checkout (created with a demo archive the first time);
# pass --data-dir DIR to use another folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKUMBY_BUILD_TESTS=OFF -DKUMBY_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"

data="$root/data"
args=()
while (($#)); do
    case "$1" in
        --data-dir) data="$2"; shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
mkdir -p "$data"
if [ ! -e "$data/Kumby_12x24.ldr" ]; then
    "$build/src/cli/kumby-cli" --data-dir "$data" demo
fi
exec "$build/src/gui/Kumby_12x24" --data-dir "$data" "${args[@]}"
