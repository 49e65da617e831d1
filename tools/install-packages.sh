#!/bin/sh
# Installs what building, running and testing Zelvan needs on Debian 12 (as root).
set -eu
cd "$(dirname "$0")"
export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2046
apt-get install -y --no-install-recommends $(grep -v '^#' debian-packages.txt)
