# Shared by the set-up commands: installs what the build needs, or says how.
# shellcheck shell=bash

# Debian 12 packages the build and the tests need.
TARVEL_PACKAGES=(g++ cmake ninja-build libgtest-dev util-linux qt6-base-dev
  fonts-liberation2 xvfb xauth acl strace)

tarvel_install_packages() {
  local missing=() package
  for package in "${TARVEL_PACKAGES[@]}" "$@"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installation de : ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  else
    echo "Paquets manquants. Installez-les puis relancez :" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
}

# Configures $1 with the CMake arguments that follow; then builds what TARVEL_TARGET names
# (everything by default).
tarvel_build() {
  local build_dir=$1
  shift
  cmake -S "$TARVEL_ROOT" -B "$build_dir" -G Ninja "$@" >/dev/null
  cmake --build "$build_dir" ${TARVEL_TARGET:+--target "$TARVEL_TARGET"}
}
