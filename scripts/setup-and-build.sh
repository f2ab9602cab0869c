#!/usr/bin/env bash
# Installs the build dependencies (Debian 12), then configures and builds the configurator,
# its command-line companion and the tests into ./build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins fonts-dejavu-core
          libbenchmark-dev)

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
