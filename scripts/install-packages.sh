#!/usr/bin/env bash
# Installs the Debian packages named that are missing, with sudo when not run as root.
# With ZB_UPGRADE=1 it first brings every installed package up to date, as a machine set up today has them.
# Usage: scripts/install-packages.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || [ "${ZB_UPGRADE:-}" = 1 ] || exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
if [ "${ZB_UPGRADE:-}" = 1 ]; then
    echo "Bringing the installed packages up to date"
    $sudo apt-get upgrade -y -qq -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold >/dev/null
fi
[ ${#missing[@]} -gt 0 ] || exit 0
echo "Installing: ${missing[*]}"
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
