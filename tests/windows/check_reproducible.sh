#!/usr/bin/env bash
# Builds the module and the zip a second time, from a copy of the sources in another folder, and
# checks that both give the same bytes as the build under test, and that `cmake --install` of that
# build gives the zip's files. Only the module and the zip are built (no tests), to stay quick.
# usage: check_reproducible.sh SOURCE_DIR BUILD_DIR ZIP SCRATCH
set -u
source=$1 build=$2 zip=$3 scratch=$4
fail=0
say() { echo "$*"; fail=1; }

rm -rf "$scratch"
mkdir -p "$scratch/sources"
# The files of this commit as they stand in the tree (new ones too), as a release would copy them.
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source" && git ls-files -z --cached --others --exclude-standard | xargs -0 tar cf -) | tar xf - -C "$scratch/sources"
  epoch=$(git -C "$source" log -1 --format=%ct)
else
  (cd "$source" && tar cf - --exclude=./build --exclude=./out .) | tar xf - -C "$scratch/sources"
  epoch=315532800
fi
# The copy is no git checkout: it is told the commit's time, as a packager would tell it.
export SOURCE_DATE_EPOCH=$epoch
copy=$scratch/sources/build/mingw-i686
if ! (cd "$scratch/sources" && cmake --preset mingw-i686 -DRADIOS_TESTS=OFF &&
  cmake --build --preset mingw-i686 --target package) >"$scratch/build.log" 2>&1; then
  cat "$scratch/build.log"
  echo "the second build, in $scratch/sources, failed"
  exit 1
fi

name=$(basename "$zip")
cmp "$zip" "$copy/$name" || say "$name differs between $build and $copy"
cmp "$build/bin/radios.gau" "$copy/bin/radios.gau" ||
  say "bin/radios.gau differs between $build and $copy"

cmake --install "$build" --prefix "$scratch/installed" >/dev/null || say "cmake --install $build failed"
mkdir -p "$scratch/unzipped"
(cd "$scratch/unzipped" && cmake -E tar xf "$zip")
diff -r "$scratch/installed" "$scratch/unzipped"/* >/dev/null ||
  say "cmake --install gives other files than $name holds"

zip_time=$(python3 -c 'import sys, zipfile, calendar; print(calendar.timegm(zipfile.ZipFile(sys.argv[1]).infolist()[0].date_time + (0, 0, 0)))' "$zip")
[ $((zip_time / 2)) = $((epoch / 2)) ] || say "$name is dated $zip_time; expected the commit's time $epoch"

[ $fail -eq 0 ] && echo "two builds of one commit: the same $name ($(sha256sum <"$zip" | cut -c1-16)...) and radios.gau; cmake --install gives the zip's files"
exit $fail
