#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./build.sh run   [pomaret args]  install what is missing, build, start Pomaret
#   ./build.sh test  [ctest args]    install what is missing, build with warnings as errors, run every test,
#                                    then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#                                    then a short run of each fuzz target
#   ./build.sh build                 install what is missing and build everything (program, tests, bench)
# Safe to run again: packages already present are not touched and the build is incremental.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev
          libsqlite3-dev libsqlitecpp-dev libsodium-dev sqlite3 poppler-utils fonts-wine)
# Only the test command needs these: clang and its runtime for the fuzz targets.
TEST_PACKAGES=(clang-14 libclang-rt-14-dev)

install_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR TARGET [cmake options]: TARGET "all" builds everything.
configure_and_build() {
    local dir=$1 target=$2; shift 2
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    cmake --build "$dir" -j "$(nproc)" --target "$target"
}

cmd=${1:-run}
[ $# -gt 0 ] && shift
case "$cmd" in
    run)
        install_packages
        configure_and_build build pomaret  # the program alone, not the tests
        exec ./build/pomaret "$@"
        ;;
    build)
        install_packages
        configure_and_build build all
        ;;
    test)
        install_packages "${TEST_PACKAGES[@]}"
        SECONDS=0
        configure_and_build build-test all -DPOMARET_WERROR=ON
        (cd build-test && ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@")
        echo "== tests passed ($SECONDS s); now under AddressSanitizer and UndefinedBehaviorSanitizer"
        configure_and_build build-asan all -DPOMARET_WERROR=ON -DPOMARET_SANITIZE=ON
        (cd build-asan && ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@")
        echo "== sanitizer run passed ($SECONDS s); now each fuzz target for 10 s"
        fuzz/run 10
        echo "== all passed in $SECONDS s"
        ;;
    *)
        echo "usage: $0 run|test|build" >&2
        exit 2
        ;;
esac
