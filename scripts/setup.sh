#!/usr/bin/env bash
# Installs the packages Vendrak needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++ cmake make qt6-base-dev qt6-svg-dev libgl-dev qt6-qpa-plugins \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libflint-arb-dev libflint-dev libfftw3-dev libhwy-dev pkg-config \
  fonts-liberation fonts-dejavu-core xvfb xauth poppler-utils clang libclang-rt-14-dev \
  desktop-file-utils appstream dpkg-dev lintian >/dev/null
