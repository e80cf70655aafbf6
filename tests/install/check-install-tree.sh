#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh prefix, checks that the tree holds exactly the program's
# files, then starts the installed program through its link in bin/ and ends it with
# SIGTERM: once with a program folder the user can write, once with a read-only one.
#   check-install-tree.sh BUILD_DIR [CMAKE]
set -euo pipefail
umask 022
build=$1
cmake=${2:-cmake}

# In /tmp, which every user can pass through: the superuser runs the program as nobody.
work=$(mktemp -d /tmp/jabbly-install.XXXXXX)
pid=
cleanup() {
  if [[ -n $pid ]]; then kill -KILL "$pid" 2>/dev/null || true; fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi

# The whole tree, nothing missing and nothing more.
# The icon sizes as cmake/JabblyLayout.cmake lists them.
read -ra sizes <<<"$(sed -n 's/^set(JABBLY_ICON_SIZES \(.*\))$/\1/p' "$(dirname "$0")/../../cmake/JabblyLayout.cmake")"
expected=(
  bin/jabbly
  lib/jabbly/jabbly lib/jabbly/libRowkit.so lib/jabbly/libSayline.so lib/jabbly/cpu.txt
  share/applications/io.github.jabbly.Jabbly.desktop
  share/icons/hicolor/scalable/apps/io.github.jabbly.Jabbly.svg
  share/metainfo/io.github.jabbly.Jabbly.metainfo.xml
  share/man/man1/jabbly.1.gz
)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/io.github.jabbly.Jabbly.png"); done
# The help file is installed when the build made it.
if [[ -f $build/bin/jabbly.chm ]]; then expected+=(lib/jabbly/jabbly.chm); fi
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
(cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | sort) >"$work/installed"
if ! diff -u "$work/expected" "$work/installed" >"$work/tree.diff"; then
  fail "the installed tree differs from the expected one (- missing, + unexpected):"
  sed 1,2d "$work/tree.diff" >&2
fi

# bin/jabbly: a relative link to the program in its folder.
link=$prefix/bin/jabbly
if [[ ! -L $link ]]; then
  fail "bin/jabbly is not a link"
elif [[ $(readlink "$link") == /* ]]; then
  fail "bin/jabbly points to an absolute path: $(readlink "$link")"
elif [[ $(readlink -f "$link") != "$(readlink -f "$prefix/lib/jabbly/jabbly")" ]]; then
  fail "bin/jabbly resolves to $(readlink -f "$link"), not lib/jabbly/jabbly"
fi
[[ -x $prefix/lib/jabbly/jabbly ]] || fail "lib/jabbly/jabbly is not executable"

# The binaries search their own folder, and no build folder.
for binary in jabbly libRowkit.so libSayline.so; do
  path=$prefix/lib/jabbly/$binary
  [[ -f $path ]] || continue
  runpath=$(readelf -d "$path" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p')
  [[ $runpath == '$ORIGIN' ]] || fail "$binary has run path '$runpath', not '\$ORIGIN'"
done

# Each icon has the size its folder names (PNG header: width and height, big-endian).
for size in "${sizes[@]}"; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/io.github.jabbly.Jabbly.png
  [[ -f $png ]] || continue
  read -r -a b < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))
  height=$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))
  [[ $width == "$size" && $height == "$size" ]] || fail "the ${size}x${size} icon is ${width}x${height}"
done
# The menu entry, its icon and the metainfo name one another by the AppStream id.
metainfo=$prefix/share/metainfo/io.github.jabbly.Jabbly.metainfo.xml
desktop=$prefix/share/applications/io.github.jabbly.Jabbly.desktop
if [[ -f $metainfo && -f $desktop ]]; then
  id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ $id == io.github.jabbly.Jabbly ]] || fail "the metainfo's id is '$id'"
  [[ $launchable == "$id.desktop" ]] || fail "the metainfo launches '$launchable', not $id.desktop"
  [[ $icon == "$id" ]] || fail "the desktop file's icon is '$icon', not $id"
fi
man=$prefix/share/man/man1/jabbly.1.gz
if [[ -f $man ]] && ! gzip -dc "$man" | grep -q '^\.TH JABBLY 1 '; then
  fail "share/man/man1/jabbly.1.gz is not the jabbly(1) manual page"
fi

if ((failures > 0)); then exit 1; fi

# Runs the installed program through its link with its own home, so the user's own
# settings and words stay out of it, until its event loop runs, then ends it with SIGTERM.
# Its stderr goes through a FIFO, read until the program says it runs, then until the
# program closes it when it ends. Arguments before the program (e.g. setpriv ...) wrap it.
run_installed() {
  local log=$work/program.log line running=no status=0
  rm -f "$work/stderr"
  mkfifo "$work/stderr"
  : >"$log"
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/.runtime \
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="jabbly.*.debug=true" \
    "$@" "$prefix/bin/jabbly" Tester 2>"$work/stderr" &
  pid=$!
  exec 3<"$work/stderr"
  while IFS= read -r line <&3; do
    printf '%s\n' "$line" >>"$log"
    if [[ $line == *"jabbly.startup: running"* ]]; then
      running=yes
      break
    fi
  done
  if [[ $running == yes ]]; then kill -TERM "$pid"; fi
  cat <&3 >>"$log"
  exec 3<&-
  wait "$pid" || status=$?
  pid=
  if [[ $running != yes ]]; then
    cat "$log" >&2
    fail "the installed program ended (status $status) before it was running"
  elif [[ $status != 0 ]]; then
    cat "$log" >&2
    fail "the installed program ended with status $status on SIGTERM"
  fi
}

words_in() { if [[ -f $1 ]]; then cat "$1"; else echo "<missing>"; fi; }

home=$work/home
mkdir -p "$home"
mkdir -m 0700 "$home/.runtime"
program_folder=$prefix/lib/jabbly
data_words="$home/.local/share/Orvel Tamsin/Jabbly/words.txt"

# A program folder the user can write keeps the words beside the program: started through
# the link, the program has found its real folder.
run_installed
[[ -s $program_folder/words.txt ]] || fail "no words were saved in the program's folder"
[[ ! -e $prefix/bin/words.txt ]] || fail "words were saved beside the link in bin/"
[[ ! -e $data_words ]] || fail "words were saved in the user's data folder though the program's folder is writable"

# Installed for real, the folder is not the user's: the words live in the user's data
# folder. The superuser writes anywhere, so it runs the program as nobody.
rm -f "$program_folder/words.txt"
chmod -R a-w "$program_folder"
mkdir -p "$(dirname "$data_words")"
printf 'zebra\r\napple\r\n' >"$data_words"
as_user=()
if [[ $(id -u) == 0 ]]; then
  chmod 0755 "$work"
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
run_installed "${as_user[@]}"
# Saved sorted: the words were read from that folder and written back there.
printf 'apple\r\nzebra\r\n' | cmp -s - "$data_words" ||
  fail "the user's data folder holds '$(words_in "$data_words")', not the two words sorted"
[[ ! -e $program_folder/words.txt ]] || fail "words.txt was written into the read-only program folder"

if ((failures > 0)); then exit 1; fi
echo "install tree and installed program: all checks passed"
