#!/bin/sh
# Downloads and unpacks one Debian source package at exactly one version into
# a cache folder of its own, using a private deb-src list made from the
# machine's own apt sources, so the machine's apt configuration stays
# untouched.
#   fetch-debian-source.sh CACHE_DIR PACKAGE VERSION
# The package ends up in CACHE_DIR/PACKAGE/VERSION (the .dsc, the tarballs
# and the unpacked tree), marked complete by a file ".complete" written last:
# a folder without it is a broken earlier attempt and is made anew.
set -eu
cache=$1
pkg=$2
version=$3
apt_dir=$cache/apt
target=$cache/$pkg/$version
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/archives/partial"

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
log=$apt_dir/source-$pkg-$version.log
# shellcheck disable=SC2086
apt-get -q $opts update >"$apt_dir/update.log" 2>&1 || { cat "$apt_dir/update.log" >&2; exit 1; }

# Unpacked beside the target first, so that an interrupted fetch never
# leaves a folder that looks complete.
work=$target.partial
rm -rf "$work" "$target"
mkdir -p "$work"
cd "$work"
# shellcheck disable=SC2086
if ! apt-get -q $opts source "$pkg=$version" >"$log" 2>&1; then
  cat "$log" >&2
  echo "fetch-debian-source: $pkg $version is not available from the machine's Debian sources" >&2
  exit 1
fi
: >.complete
cd ..
mv "$work" "$target"
