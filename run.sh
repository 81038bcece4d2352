#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: the editor needs a graphical session."
  echo "To start it without one, run it under a virtual display:"
  echo "  xvfb-run -a $(pwd)/build/quillet $*"
  exit 1
fi
exec ./build/quillet "$@"
