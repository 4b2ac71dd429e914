#!/usr/bin/env bash
# Installs the Debian 12 packages that ostrel needs, and only those that are missing.
#
#   scripts/install-deps.sh          what building ostrel needs
#   scripts/install-deps.sh --test   the same, plus what the test suite needs
#
# Does nothing (no apt-get at all) when every package is already installed. Installing
# packages needs root. nginx is installed for tests only and is never started as a service.
set -euo pipefail

build_packages=(cmake g++ make nlohmann-json3-dev libgtest-dev)
test_packages=(nginx-light python3 python3-jsonschema groff-base man-db)
# scripts/fuzz.sh: clang++ with libFuzzer and the sanitizer runtimes.
test_packages+=(clang libclang-rt-14-dev)

packages=("${build_packages[@]}")
case "${1:-}" in
    "") ;;
    --test) packages+=("${test_packages[@]}") ;;
    *)
        echo "usage: $0 [--test]" >&2
        exit 2
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    if [ "$status" != "installed" ]; then
        missing+=("$package")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    echo "install-deps: all packages are installed"
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}"

# Debian starts a freshly installed nginx as a service; a policy-rc.d that refuses every start
# prevents that. An existing policy of the machine's own is left alone.
policy=/usr/sbin/policy-rc.d
own_policy=0
if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' >"$policy"
    chmod 755 "$policy"
    own_policy=1
fi
cleanup() {
    if [ "$own_policy" -eq 1 ]; then
        rm -f "$policy"
    fi
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
