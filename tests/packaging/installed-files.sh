#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a distribution's reviewer checks:
# every file under the prefix, the desktop entry and the AppStream metadata valid, and the
# installed programs finding their atlas there. Exit 77 (skipped) where the validators are
# missing.
set -euo pipefail
build="$1"
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (scripts/setup-debian.sh installs it)"
    exit 77
  fi
done
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

outside=$(grep -v "^$prefix/" "$build/install_manifest.txt" || true)
if [ -n "$outside" ]; then
  echo "installed outside the prefix:"; echo "$outside"; exit 1
fi
for file in bin/velmora bin/velmora-cli bin/velmora-picture share/velmora/places.sqlite \
            share/icons/hicolor/16x16/apps/org.velmora.Velmora.png \
            share/icons/hicolor/256x256/apps/org.velmora.Velmora.png \
            share/man/man1/velmora.1.gz share/man/man1/velmora-cli.1.gz \
            share/man/man1/velmora-picture.1.gz share/bash-completion/completions/velmora-cli \
            share/doc/velmora/guide-ar.md share/doc/velmora/copyright; do
  [ -e "$prefix/$file" ] || { echo "missing: $file"; exit 1; }
done

desktop-file-validate "$prefix/share/applications/org.velmora.Velmora.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.velmora.Velmora.metainfo.xml"

# The installed tools read the installed atlas, wherever the prefix is.
"$prefix/bin/velmora-cli" --version | grep -q "^velmora-cli [0-9]"
"$prefix/bin/velmora-cli" chart --city Fes --date 2000-1-1 --time 12:00 | grep -q "الشمس"
for page in velmora velmora-cli velmora-picture; do
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH"
done
bash -n "$prefix/share/bash-completion/completions/velmora-cli"
echo "installed files valid under $prefix"
