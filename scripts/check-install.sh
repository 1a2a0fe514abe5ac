#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks what a desktop and a package manager will
# see: every file in place, the desktop entry and the AppStream metadata valid, the file types readable,
# the programs runnable from there and free of the build machine's folders; then packs the .deb and
# lists it. Usage: bash scripts/check-install.sh BUILD_FOLDER (a build with the desktop program).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:?usage: check-install.sh BUILD_FOLDER}")
source_dir=$(pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
app=org.tavrik.Tavrik

fail() { echo "check-install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/tavrik bin/tavrik-cli share/man/man1/tavrik.1 share/man/man1/tavrik-cli.1
          share/applications/$app.desktop share/mime/packages/$app.xml share/metainfo/$app.metainfo.xml
          share/icons/hicolor/scalable/apps/$app.svg share/doc/tavrik/CHANGELOG.md share/doc/tavrik/help/README.md)
for size in 16 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x$size/apps/$app.png"); done
for file in "${expected[@]}"; do [ -s "$prefix/$file" ] || fail "missing after install: $file"; done
for page in docs/*.md; do
    [ -f "$prefix/share/doc/tavrik/help/$(basename "$page")" ] || fail "help page not installed: $page"
done

desktop-file-validate "$prefix/share/applications/$app.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml"
# The file types must build into a MIME database, and the entry must open each of them.
mime="$prefix/mime-check/mime"
mkdir -p "$mime" && cp -r "$prefix/share/mime/packages" "$mime/"
messages=$(XDG_DATA_DIRS="$prefix/mime-check" update-mime-database "$mime" 2>&1) && [ -z "$messages" ] ||
    fail "the MIME types do not build a database: $messages"
for type in $(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$prefix/share/mime/packages/$app.xml"); do
    grep -q "^MimeType=.*$type;" "$prefix/share/applications/$app.desktop" || fail "the desktop entry does not open $type"
    [ -f "$mime/${type}.xml" ] || fail "$type is not in the built MIME database"
done

version=$(sed -n 's/^project(Tavrik VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$("$prefix/bin/tavrik-cli" --version)" = "tavrik-cli $version" ] || fail "installed tavrik-cli --version is not $version"
[ "$(QT_QPA_PLATFORM=offscreen "$prefix/bin/tavrik" --version)" = "tavrik $version" ] ||
    fail "installed tavrik --version is not $version"
for program in tavrik tavrik-cli; do
    ! strings -a "$prefix/bin/$program" | grep -F -e "$source_dir" -e "$build" ||
        fail "bin/$program holds a folder of the build machine"
done

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls -t "$build"/tavrik_*.deb | head -n 1)
dpkg-deb -I "$package"
contents=$(dpkg-deb -c "$package")
echo "$contents"
[[ "$(dpkg-deb -f "$package" Depends)" == *libqt6widgets6* ]] || fail "the package does not depend on Qt's widgets"
for program in tavrik tavrik-cli; do
    [[ "$contents" == *" ./usr/bin/$program"$'\n'* ]] || fail "the package lacks usr/bin/$program"
done
echo "check-install: $(basename "$package") and the installed tree are in order"
