#!/usr/bin/env bash
# Installs what is missing, builds everything with tests and runs them; then builds
# the core without the GUI under AddressSanitizer and UBSan and runs its tests again.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
jobs="$(nproc)"

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKUMBY_BUILD_TESTS=ON -DKUMBY_BUILD_BENCH=ON -DKUMBY_WERROR=ON
cmake --build "$build" --parallel "$jobs"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 900)

# The core must build and pass without any GUI; sanitizers catch what tests alone miss.
# The heavy counts from scratch ran above already.
asan="$root/build/test-asan"
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKUMBY_BUILD_GUI=OFF \
    -DKUMBY_BUILD_TESTS=ON -DKUMBY_BUILD_BENCH=OFF -DKUMBY_WERROR=ON -DKUMBY_SANITIZE=ON
cmake --build "$asan" --parallel "$jobs"
(cd "$asan" && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure --parallel "$jobs" --timeout 1800 -LE heavy)
