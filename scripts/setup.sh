#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need (only the missing ones).
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev
  libgl1-mesa-dev libgl1-mesa-dri mesa-utils
  libjpeg-dev libpng-dev zlib1g-dev
  libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
  libfluidsynth-dev timgm6mb-soundfont
  libgtk-3-dev libcairo2-dev libassimp-dev
  libx11-dev libxtst-dev
  xvfb xauth x11-utils xdotool
  # the sound server's client library (the game talks to a running server itself); a private
  # server with a null sink for the sound-server test and benchmark, recorded with parec
  libpulse-dev pulseaudio pulseaudio-utils
)

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
