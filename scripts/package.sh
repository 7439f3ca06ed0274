#!/usr/bin/env bash
# Builds the Debian package dist/velmora_<version>_<arch>.deb: a Release build of the programs
# alone in build-package/, installed under /usr by CPack, its library dependencies found by
# dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
  -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
ls dist/velmora_*.deb
