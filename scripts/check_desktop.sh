#!/usr/bin/env bash
# Checks the program's desktop integration: the desktop entry passes desktop-file-validate, and once the build is
# installed into a scratch prefix, the desktop's file-type lookup names the program's types for site and theme files
# and the program's entry for opening them.
#
#     check_desktop.sh <source root> <build folder>
set -euo pipefail
source_root=$1
build=$2

desktop-file-validate "$source_root/app/shell/desktop/org.pelorin.Pelorin.desktop"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/pelorin"
test -f "$prefix/lib/pelorin/resources/strings.xml"
test -d "$prefix/lib/pelorin/Themes"
update-mime-database "$prefix/share/mime" >/dev/null 2>&1

export XDG_DATA_DIRS="$prefix/share:/usr/share"
export XDG_DATA_HOME="$prefix/data-home"
export XDG_CONFIG_HOME="$prefix/config-home"
export XDG_CURRENT_DESKTOP=GNOME
# A theme the build made stands in for both kinds: the lookup goes by the name's extension.
theme_file=$(find "$prefix/lib/pelorin/Themes" -name '*.kth' | head -n 1)
cp "$theme_file" "$prefix/bakery.kst"
cp "$theme_file" "$prefix/harbour.KTH"
site=$(xdg-mime query filetype "$prefix/bakery.kst")
theme=$(xdg-mime query filetype "$prefix/harbour.KTH")
[ "$site" = application/x-pelorin-site ] || { echo "bakery.kst: $site"; exit 1; }
[ "$theme" = application/x-pelorin-theme ] || { echo "harbour.KTH: $theme"; exit 1; }
handler=$(xdg-mime query default application/x-pelorin-site)
[ "$handler" = org.pelorin.Pelorin.desktop ] || { echo "handler: $handler"; exit 1; }
echo "desktop integration: ok"
