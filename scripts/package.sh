#!/usr/bin/env bash
# Makes the Debian package: a Release build with prefix /usr in build-deb/
# (build/ is left alone), with Debian's hardening flags, then CPack's DEB
# generator writes build-deb/vendrak_VERSION_ARCH.deb. Its Depends come from
# the shared libraries the programs link (dpkg-shlibdeps, from dpkg-dev).
#
#   ./scripts/package.sh            build the package
#   ./scripts/package.sh --lint     and run lintian on it (fails on an error)
set -euo pipefail
cd "$(dirname "$0")/.."
lint=0
case "${1:-}" in
  "") ;;
  --lint) lint=1 ;;
  *) echo "usage: $0 [--lint]" >&2; exit 2 ;;
esac
for tool in dpkg-buildflags dpkg-shlibdeps cpack; do
  command -v "$tool" >/dev/null || { echo "package: $tool is missing; run ./scripts/setup.sh" >&2; exit 1; }
done

build=build-deb
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DVENDRAK_DEB_PACKAGE=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)" --target vendrak vendrak-cli vendrak-gui vendrak-series deb_files
rm -f "$build"/vendrak_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vendrak_*.deb)
echo "$deb"
if [ "$lint" = 1 ]; then
  command -v lintian >/dev/null || { echo "package: lintian is missing; run ./scripts/setup.sh" >&2; exit 1; }
  # Errors fail; warnings are listed and kept (see the README).
  lintian --fail-on error "$deb"
fi
