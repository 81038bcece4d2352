#!/usr/bin/env bash
# Installs the Debian packages the editor and its tests need, when missing,
# and any further packages named as arguments (scripts/deps.sh imagemagick).
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl1-mesa-dev
          libglib2.0-dev libgtest-dev googletest qt6-translations-l10n ccache
          xvfb xauth x11-utils xdotool imagemagick poppler-utils fonts-dejavu-core clang libclang-rt-14-dev lintian
          appstream desktop-file-utils "$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
