# Shared by the set-up commands: installs what the build needs, or says how.
# shellcheck shell=bash

# Debian 12 packages the build, the tests and the package's checks need: Qt's own French texts
# (qt6-translations-l10n); a window manager for the window tests under Xvfb and the tool that
# tells when it is ready (openbox, x11-utils); the manual pages (scdoc, groff-base, man-db), the
# desktop files' validators, bash completion; clang and its fuzzing runtime for the fuzz
# harnesses; acl and strace for the save tests (ACLs; a signal at a chosen system call);
# bsdutils (script), util-linux (prlimit) and mount for the command line's tests on a terminal,
# under a memory limit and across a bind mount; and for the Debian package (scripts/package)
# dpkg-dev, file and lintian; clang-tidy and clang-format for the code checks; a CJK font
# (fonts-noto-cjk), so that the window tests see lines drawn by a fallback font; GLib's list of a
# file type's handlers (libglib2.0-bin: gio), which must name the window for folders.
TARVEL_PACKAGES=(g++ cmake ninja-build libgtest-dev util-linux qt6-base-dev
  qt6-translations-l10n fonts-liberation2 xvfb xauth openbox x11-utils scdoc groff-base man-db
  appstream desktop-file-utils bash-completion dpkg-dev file lintian clang libclang-rt-14-dev
  acl strace bsdutils mount clang-tidy clang-format fonts-noto-cjk libglib2.0-bin)

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

# The build type and flags of the programs, the same for the tested build (scripts/test) and the
# packaged one (scripts/package), so that what ships is what the tests ran: Debian's hardening
# flags, warnings as errors.
# Sets TARVEL_PROGRAM_ARGS (after tarvel_install_packages: dpkg-buildflags is in dpkg-dev).
tarvel_program_build_args() {
  TARVEL_PROGRAM_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEL_WERROR=ON
    "-DCMAKE_CXX_FLAGS=$(tarvel_debian_flags CXXFLAGS) $(tarvel_debian_flags CPPFLAGS)"
    "-DCMAKE_EXE_LINKER_FLAGS=$(tarvel_debian_flags LDFLAGS)")
}
tarvel_debian_flags() {
  (cd "$TARVEL_ROOT" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1")
}

# Configures $1 with the CMake arguments that follow; then builds what TARVEL_TARGET names
# (everything by default).
tarvel_build() {
  local build_dir=$1
  shift
  cmake -S "$TARVEL_ROOT" -B "$build_dir" -G Ninja "$@" >/dev/null
  cmake --build "$build_dir" ${TARVEL_TARGET:+--target "$TARVEL_TARGET"}
}

# Runs a command under a fresh X server (Xvfb) with a window manager (openbox), as on a
# desktop: windows get frames, focus and stacking from it.
tarvel_with_window_manager() {
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    openbox >/dev/null 2>&1 &
    manager=$!
    ready=0
    for _ in $(seq 200); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && ready=1 && break
      sleep 0.05
    done
    if [ "$ready" -eq 0 ]; then
      echo "openbox ne démarre pas" >&2
      exit 1
    fi
    "$@"
    status=$?
    kill "$manager" 2>/dev/null
    wait "$manager" 2>/dev/null
    exit "$status"' tarvel-session "$@"
}
