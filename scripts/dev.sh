#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tavrik (installs the missing packages), builds it, and then either
# starts the program ("run [FILE [rip options]]", the demo by default) or runs every test ("test": core,
# CLI and GUI with the benchmarks built, the install into a temporary prefix and the Debian package, then
# core and CLI again under AddressSanitizer and UndefinedBehaviorSanitizer, then the parser fuzzers).
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config git
          qt6-base-dev libgl-dev zlib1g-dev libpng-dev libcurl4-openssl-dev libssl-dev libzip-dev
          libsimpleini-dev libstb-dev libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
          netpbm tiled xvfb xauth fonts-liberation help2man
          desktop-file-utils appstream shared-mime-info dpkg-dev file qemu-user)
JOBS=$(nproc)
FUZZ_SECONDS=${FUZZ_SECONDS:-30}

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

build() { # folder, then extra cmake options
    local folder=$1
    shift
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$folder" -j "$JOBS"
}

run_program() {
    build build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "Tavrik is a desktop program and no display was found."
        echo "Start it under a virtual display instead:  xvfb-run -a -s '-screen 0 1280x800x24' bash scripts/dev.sh run"
        exit 1
    fi
    # Without arguments the demo opens on its title screen, ripped with the copper list's palette.
    [ $# -gt 0 ] || set -- examples/demo.uss --address '+$10000' --bitplanes 5 --tile 320x256 --palette copper
    exec build/src/gui/tavrik "$@"
}

run_fuzzers() {
    CC=clang CXX=clang++ build build-fuzz -DTAVRIK_FUZZ=ON -DTAVRIK_BUILD_GUI=OFF -DTAVRIK_BUILD_BENCH=OFF
    for fuzzer in build-fuzz/fuzz/fuzz_*; do
        [ -x "$fuzzer" ] || continue
        local name corpus
        name=$(basename "$fuzzer")
        corpus=$(mktemp -d)
        [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
        echo "Fuzzing $name for ${FUZZ_SECONDS}s"
        "$fuzzer" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 "$corpus" 2>&1 | tail -n 3
        rm -rf "$corpus"
    done
}

run_tests() {
    build build -DTAVRIK_BUILD_BENCH=ON
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$JOBS")
    bash scripts/check-install.sh build
    build build-sanitize -DTAVRIK_SANITIZE=ON -DTAVRIK_BUILD_GUI=OFF -DTAVRIK_BUILD_BENCH=OFF
    (cd build-sanitize && ctest --output-on-failure -j "$JOBS" -L 'core|cli')
    run_fuzzers
}

install_missing_packages
case "${1:-}" in
run) shift; run_program "$@" ;;
test) run_tests ;;
*) echo "usage: bash scripts/dev.sh run [FILE [rip options]] | bash scripts/dev.sh test"; exit 2 ;;
esac
