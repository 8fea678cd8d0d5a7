#!/usr/bin/env bash
# Builds the Debian package build/masumemo_<version>_<arch>.deb: a Release build with Debian's
# hardening flags in build/package/, installed under /usr by CPack, Depends computed by
# dpkg-shlibdeps. Prints the package's path on its last line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
out="${MASUMEMO_BUILD_DIR:-$root/build}"
tree="$out/package"
# Files 0644 and folders 0755 in the package, whatever the caller's umask.
umask 022
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DMASUMEMO_TESTS=OFF -DMASUMEMO_BENCH=OFF -DMASUMEMO_DEB=ON \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$tree" -j "$(nproc)"
rm -f "$out"/masumemo_*.deb
(cd "$tree" && cpack -G DEB -B "$out/cpack" >"$tree/cpack.log") ||
    { cat "$tree/cpack.log" >&2; exit 1; }
mv "$out"/cpack/masumemo_*.deb "$out/"
ls "$out"/masumemo_*.deb
