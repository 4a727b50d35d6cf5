#!/usr/bin/env bash
# Builds the monitor and starts its window:
#   bash tools/run-monitor.sh
# Installs the Debian packages of tools/packages-build.txt that are missing,
# builds the program in build/linux and starts build/linux/quorvel. The window
# needs a graphical session (X11, or Wayland through XWayland or Qt's Wayland
# support). Without one ($DISPLAY and $WAYLAND_DISPLAY both unset) the script
# says so and starts the window on a virtual X display (xvfb-run), where it
# runs unseen until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t packages <tools/packages-build.txt
bash tools/install-packages.sh "${packages[@]}"
mkdir -p build

cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/linux.configure.log 2>&1 \
  || { cat build/linux.configure.log; exit 1; }
cmake --build build/linux --target quorvel -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the window cannot be shown here."
  echo "Starting it on a virtual X display instead (xvfb-run); press Ctrl+C to end it."
  echo "Run this script inside a desktop session to see and use the window."
  exec xvfb-run -a -s "-screen 0 1280x800x24" build/linux/quorvel
fi
exec build/linux/quorvel
