#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Idempotent: installs only what is missing.
set -euo pipefail

packages=(
    build-essential cmake make pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    unixodbc tdsodbc
    postgresql sqlite3
    libbenchmark-dev
    clang-14 libclang-rt-14-dev
    xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root (or install them with apt-get) first." >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
