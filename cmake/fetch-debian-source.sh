#!/bin/sh
# Downloads and unpacks Debian source packages into a cache folder, using a
# private deb-src list made from the machine's own apt sources, so the
# machine's apt configuration stays untouched.
#   fetch-debian-source.sh CACHE_DIR PACKAGE...
set -eu
cache=$1; shift
apt_dir=$cache/apt
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$cache/src"

# deb822 files: "Types: deb" becomes "Types: deb-src"; one-line lists: a
# leading "deb " becomes "deb-src ".
rm -f "$apt_dir/parts/"*
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed -e 's/^Types:.*$/Types: deb-src/' "$f" > "$apt_dir/parts/$(basename "$f")"
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  grep -E '^deb ' "$f" | sed -e 's/^deb /deb-src /' > "$apt_dir/parts/$(basename "$f" .list)-src.list" || true
done

opts="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt_dir/parts \
 -o Dir::State::Lists=$apt_dir/lists -o Dir::Cache::Archives=$apt_dir/archives \
 -o Debug::NoLocking=1"
# shellcheck disable=SC2086
apt-get -q $opts update >"$apt_dir/update.log" 2>&1 || { cat "$apt_dir/update.log" >&2; exit 1; }
cd "$cache/src"
for pkg in "$@"; do
  # shellcheck disable=SC2086
  apt-get -q $opts source "$pkg" >"$apt_dir/source-$pkg.log" 2>&1 || { cat "$apt_dir/source-$pkg.log" >&2; exit 1; }
done
