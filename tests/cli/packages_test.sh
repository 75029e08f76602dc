#!/bin/sh
# The packages a venue installs, made by cpack from this build: the archive unpacks and its
# kx7420-cli runs; the .deb holds the program directory, the desktop entry and the icon.
set -eu
build=$1
cpack=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$build"
for generator in TGZ DEB; do
    if ! "$cpack" -G "$generator" -B "$work/pkg" >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log"
        exit 1
    fi
done
tgz=$(ls "$work"/pkg/kx7420-*.tar.gz)
deb=$(ls "$work"/pkg/kx7420-*.deb)

mkdir "$work/unpacked"
tar xzf "$tgz" -C "$work/unpacked"
top="$work/unpacked/$(ls "$work/unpacked")"
"$top/kx7420-cli" --help | grep -q '^Usage: kx7420-cli COMMAND'
"$top/kx7420-cli" info --help | grep -q '^Usage: kx7420-cli info SHOW'
test -x "$top/kx7420"
test -f "$top/AppSet/SYSTEM.INI"
test -n "$(ls "$top/AppSet/标准素材")"
if ls "$top" | grep -q '^usr$'; then
    echo "the archive holds the desktop files"
    exit 1
fi

dpkg-deb --info "$deb" | grep -q '^ Package: kx7420$'
dpkg-deb --info "$deb" | grep -q '^ Depends: .*libqt6widgets6'
contents=$(dpkg-deb --contents "$deb")
for f in ./opt/kx7420/kx7420 ./opt/kx7420/kx7420-cli ./opt/kx7420/AppSet/SYSTEM.INI \
         ./usr/share/applications/kx7420.desktop ./usr/share/icons/hicolor/scalable/apps/kx7420.svg; do
    if ! echo "$contents" | grep -q " $f\$"; then
        echo "the .deb lacks $f"
        exit 1
    fi
done
echo "$contents" | grep -q '^-rwxr-xr-x .* ./opt/kx7420/kx7420-cli$'
desktop=$(dpkg-deb --fsys-tarfile "$deb" | tar xO ./usr/share/applications/kx7420.desktop)
echo "$desktop" | grep -q '^Exec=/opt/kx7420/kx7420$'
echo "$desktop" | grep -q '^Icon=kx7420$'
echo "packages OK"
