#!/usr/bin/env bash
# Builds the Debian package in a build folder and checks it: the files it holds, its
# dependencies, lintian, the desktop entry and metainfo validators, and a first start of the
# installed program (offscreen, in a network namespace of its own).
# The start runs from the package extracted with dpkg-deb -x into a temporary root, not
# installed: the test command then changes nothing on the machine, needs no root and leaves
# nothing behind when it fails. Installing it (apt-get install ./zorva_*.deb) is the same
# layout below /usr; postinst's setcap is not exercised here.
#   packaging/check-package.sh BUILD_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: check-package.sh BUILD_FOLDER}" && pwd)
work=$(mktemp -d)
pid=
cleanup() {
    local status=$?
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

cd "$build"
# The manual's pictures come from the forms themselves.
cmake --build . --target manual_pictures >"$work/pictures.log" 2>&1 || { cat "$work/pictures.log"; fail "the manual's pictures could not be taken"; }
rm -f zorva_*.deb
cpack -G DEB >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)
deb=$build/zorva_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"
echo "package: $deb"

echo "== files"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\./, "", $6); print $6}' | LC_ALL=C sort >"$work/files"
# The fixed files, and the manual: its pages as written and the pictures the target took.
{
    cat "$here/package-files.txt"
    for f in "$here"/../doc/manual/*; do echo "/usr/share/zorva/manual/${f##*/}"; done
    for f in "$build"/manual/images/*.png; do echo "/usr/share/zorva/manual/images/${f##*/}"; done
} | LC_ALL=C sort >"$work/expected"
grep -q '/manual/images/frmZorvaMain.png$' "$work/expected" || fail "the manual's pictures were not taken"
diff -u "$work/expected" "$work/files" || fail "the package's files differ from packaging/package-files.txt"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print; bad=1} END {exit bad}' || fail "files not owned by root"

echo "== control"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
depends=$(dpkg-deb -f "$deb" Depends)
for want in libqt6sql6-sqlite qt6-qpa-plugins libqt6widgets6 libsqlite3-0; do
    grep -qw -- "$want" <<<"$depends" || fail "Depends lacks $want"
done
grep -qw libqt6sql6-psql <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks libqt6sql6-psql"
grep -qw libqt6sql6-psql <<<"$depends" && fail "the server driver must not be a dependency"

echo "== lintian"
# Errors fail; warnings are printed (the README lists the ones left and why).
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian"

echo "== validators"
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/org.example.zorva.Zorva.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.example.zorva.Zorva.metainfo.xml"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man $page"
    [ -z "$out" ] || fail "man $page: $out"
done

echo "== first start of the installed program"
# As a user with an empty home: no Zorva.ini beside /usr/bin/zorva, so the user's data folder
# is the application folder and the first start prepares it.
isolate=(unshare -n)
"${isolate[@]}" true 2>/dev/null || isolate=(unshare -rn)
"${isolate[@]}" true 2>/dev/null || fail "no network namespace (unshare -n) may be made here"
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config \
       XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen ZORVA_UNATTENDED=1
data=$XDG_DATA_HOME/Zorva
"${isolate[@]}" "$work/root/usr/bin/zorva" 2>"$work/zorva.err" &
pid=$!
for _ in $(seq 1 60); do
    grep -q "Zorva keeps its settings and database in your folder" "$work/zorva.err" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
sleep 2 # then it waits in the login
kill -0 "$pid" 2>/dev/null || { cat "$work/zorva.err"; fail "zorva ended"; }
kill "$pid"; wait "$pid" 2>/dev/null || true
pid=
grep -F "$data" "$work/zorva.err" || { cat "$work/zorva.err"; fail "no first-start message naming $data"; }
[ -s "$data/Zorva.ini" ] && [ -s "$data/Zorvadb.mdb" ] || fail "the first start wrote no Zorva.ini and Zorvadb.mdb in $data"
# The commands beside it find the same folder.
"$work/root/usr/bin/zorva-initdb" --export "$work/all.csv" || fail "zorva-initdb --export on $data"
[ -s "$work/all.csv" ] || fail "zorva-initdb wrote no export"
"$work/root/usr/bin/ZorvaMon" --list-watches || fail "ZorvaMon --list-watches on $data"
# The second start says nothing of a first start.
"${isolate[@]}" "$work/root/usr/bin/zorva" 2>"$work/zorva2.err" &
pid=$!
sleep 4
kill -0 "$pid" 2>/dev/null || { cat "$work/zorva2.err"; fail "the second start ended"; }
kill "$pid"; wait "$pid" 2>/dev/null || true
pid=
if grep -q "Zorva keeps its settings" "$work/zorva2.err"; then
    fail "the second start repeated the first-start message"
fi
echo "check-package: all checks passed"
