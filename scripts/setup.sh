#!/usr/bin/env bash
# Installs the Debian packages that are missing for one of two uses:
#   scripts/setup.sh play   what building and running the program folder needs (scripts/play.sh)
#   scripts/setup.sh test   that and what the tests, sanitizers, fuzzing and benchmarks need
#                           (scripts/test.sh, scripts/fuzz.sh; also the default)
set -euo pipefail

use="${1:-test}"

# The compiler and build tools, the libraries brackle, Config and the asset generator link, and
# what the game reads at run time: the fonts, the soundfont and the OpenGL drivers.
play_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-ttf-dev
  libgl1-mesa-dev libgl1-mesa-dri
  libjpeg-dev libpng-dev zlib1g-dev
  libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
  libfluidsynth-dev timgm6mb-soundfont
  libgtk-3-dev libcairo2-dev libassimp-dev
  # The window manager is asked about frames and full screen through Xlib, and sound goes to a
  # running sound server through its own client library.
  libx11-dev libpulse-dev
)

# Only for the tests and the tools around them.
test_packages=(
  # For working on the source.
  git
  # clang with its sanitizer and libFuzzer runtimes; the runtimes turn addresses into function
  # names and lines with llvm-14's llvm-symbolizer, without which every report shows bare offsets.
  clang libclang-rt-14-dev llvm-14
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # glxinfo, to see which OpenGL driver a test run gets.
  mesa-utils
  # The X library the tests send keys with (they capture the screen through Xlib too).
  libxtst-dev
  xvfb xauth x11-utils xdotool
  # A window manager and a Wayland compositor on the tests' own X server: the game's window and
  # its message boxes are checked as a desktop shows them.
  openbox weston
  # A private sound server with a null sink for the sound-server test and benchmark, recorded
  # with parec.
  pulseaudio pulseaudio-utils
)

case "$use" in
  play) packages=("${play_packages[@]}") ;;
  test) packages=("${play_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  # sudo resets the environment, so the non-interactive front end is passed through it by env;
  # otherwise debconf would fall back to asking on the terminal while packages are configured.
  apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
  if [ "$(id -u)" -ne 0 ]; then apt=(sudo "${apt[@]}"); fi
  echo "Installing: ${missing[*]}"
  "${apt[@]}" update -qq
  "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
