#!/usr/bin/env bash
# Installs the Debian 12 packages Lexipede needs to build, test and run, and only
# those that are missing. Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config
  # libraries
  qt6-base-dev libjpeg62-turbo-dev libsdl2-dev libxrandr-dev libfontconfig-dev
  # the painter's scalable desktop icon (build tool only, the game does not link it)
  qt6-svg-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool
  # fonts standing in for the design's faces
  fonts-liberation fonts-comic-neue
  # fuzzing and coverage: clang's libFuzzer and its sanitizer runtimes
  clang libclang-rt-14-dev llvm
  # the display mode test on a real X server with several modes
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # the word lists the dictionary and the bonus words are built from
  scowl
  # the sound server test: the real servers a desktop runs, a recorder, and
  # the tools that read what was heard and what was shown
  pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber sox imagemagick
  # the game as a native Wayland client: a headless compositor, its screenshots
  # and a virtual keyboard
  qt6-wayland sway grim wtype
  # GNOME's compositor headless, with the software renderer it draws with, and
  # its screen cast read through PipeWire and GStreamer from python's GLib
  mutter libgl1-mesa-dri gstreamer1.0-pipewire gstreamer1.0-tools python3-gi
  # KDE's compositor for the dialog test; its screenshots need OpenGL
  # compositing, which llvmpipe (libgl1-mesa-dri) gives where there is no GPU
  kwin-wayland
  # the accessibility test: AT-SPI on a private D-Bus session
  at-spi2-core python3-pyatspi dbus dbus-x11
  # packaging checks
  desktop-file-utils appstream lintian dpkg-dev file fakeroot
  # compiler cache, which the Makefile asks the build to use when it is present
  ccache
  # the layout check of make ci
  clang-format
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if ((EUID == 0)); then
  run_as_root=()
elif command -v sudo >/dev/null 2>&1; then
  run_as_root=(sudo)
else
  echo "error: packages are missing (${missing[*]}) and this is neither root nor a sudo user" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -qq -o DPkg::Lock::Timeout=600
"${run_as_root[@]}" apt-get install -o DPkg::Lock::Timeout=600 -y --no-install-recommends "${missing[@]}"
