#!/usr/bin/env bash
# Installs the build under a temporary prefix and has the tools that judge them check what a
# desktop and a shell get: manual pages that render without a roff warning, a desktop entry
# and AppStream metadata that validate, a desktop that offers the window for folders, and a bash
# completion that completes.
# usage: installed-tree.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
  echo "ÉCHEC : $*" >&2
  exit 1
}
# Runs a command that must succeed and say nothing (a checker's warnings are failures too).
silent() {
  local said
  said=$("$@" 2>&1) && [ -z "$said" ] || fail "$*"$'\n'"$said"
}
cmake --install "$build" --prefix "$root/usr" >/dev/null
share=$root/usr/share

[ "$("$root/usr/bin/tarvelinquistombrel-cli" --version)" = "tarvelinquistombrel-cli $version" ] ||
  fail "--version ne donne pas la version $version"
for page in tarvelinquistombrel tarvelinquistombrel-cli; do
  cmp "$share/man/fr/man1/$page.1.gz" "$share/man/man1/$page.1.gz" || fail "$page : man1"
  zcat "$share/man/fr/man1/$page.1.gz" >"$root/page.1"
  grep -q "Tarvelinquistombrel $version" "$root/page.1" || fail "$page : version"
  # whatis and apropos read the NAME line raw: a roff escape there would show as is.
  whatis=$(lexgrog "$root/page.1") && [[ $whatis != *'[u'* ]] || fail "whatis : $whatis"
  silent groff -ww -z -man "$root/page.1"
  silent sh -c 'man --warnings -E UTF-8 -l -Tutf8 -Z "$1" >/dev/null' sh "$root/page.1"
done
silent desktop-file-validate "$share/applications/"*.desktop
# File managers offer the program for folders ("Ouvrir avec"): the desktop's MIME cache and
# GLib's handlers of inode/directory name it, with only what was installed here known (home,
# configuration and data folders of this test's own).
entry=org.example.Tarvelinquistombrel.desktop
silent update-desktop-database "$share/applications"
grep -qx "inode/directory=$entry;" "$share/applications/mimeinfo.cache" || fail "mimeinfo.cache"
handlers=$(env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$root" XDG_DATA_HOME="$root/data" \
  XDG_CONFIG_HOME="$root/config" XDG_CONFIG_DIRS="$root/config" XDG_DATA_DIRS="$share" \
  LC_ALL=C.UTF-8 gio mime inode/directory)
sed -n '/^Registered applications:/,/^[^\t]/p' <<<"$handlers" | grep -qx $'\t'"$entry" ||
  fail "gio mime inode/directory :"$'\n'"$handlers"
said=$(appstreamcli validate-tree --no-net "$root" 2>&1) || fail "$said"
! grep -E '^[EW]:' <<<"$said" || fail "appstreamcli validate-tree"

# The completion, as bash runs it on Tab: words split at spaces and at "=". Completion code
# is written for an interactive shell, not for this script's strict mode.
set +euo pipefail
. /usr/share/bash-completion/bash_completion
. "$share/bash-completion/completions/tarvelinquistombrel-cli"
PATH=$root/usr/bin:$PATH
[ "$(complete -p tarvelinquistombrel-cli)" = \
  "complete -F _tarvelinquistombrel_cli tarvelinquistombrel-cli" ] || fail "complete -p"
cd "$root"
mkdir music
touch notes.txt
completes() { # expected words, then the command line up to the cursor
  COMP_LINE="tarvelinquistombrel-cli $2" COMP_POINT=${#COMP_LINE}
  read -ra COMP_WORDS <<<"${COMP_LINE//=/ = }"
  [[ $COMP_LINE == *[\ =] ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
  _tarvelinquistombrel_cli tarvelinquistombrel-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort -u | xargs)
  [ "$got" = "$1" ] || fail "« $2 » complété en « $got » au lieu de « $1 »"
}
completes "--no-capitalize --no-files --no-folders --no-separator --no-subfolders --no-tree" --no-
completes "absolute none relative" "--sizes --path="
completes "name non-empty" --separator-after=n
completes "csv json text" --format=
completes "" --extensions=
completes "notes.txt" "-o n"
completes "" "-o --"
completes "notes.txt" --output=n
completes "notes.txt" "--path n"
completes "music" "--footer m"
