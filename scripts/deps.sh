#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the game need and the machine lacks.
# Safe to run again: it installs nothing when everything is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libepoxy-dev libgl1-mesa-dri libegl-mesa0 libegl1 libgles2
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libogg-dev libvorbis-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxtst-dev xvfb
  xfonts-base # the X font set with Japanese glyphs that message boxes are drawn with
  clang libclang-rt-dev
  valgrind # the memcheck run over the movie and sound seeds (tests/CMakeLists.txt)
  locales
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# The tests run under a German locale (decimal comma) to catch number formatting that follows the
# process locale; generate it once.
ensure_test_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen > /dev/null
    $sudo locale-gen > /dev/null
  fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" < /dev/null
fi
ensure_test_locale
