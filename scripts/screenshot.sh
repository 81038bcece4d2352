#!/usr/bin/env bash
# Makes docs/screenshot.png: the editor on a sample page under a virtual
# X display. Usage: scripts/screenshot.sh [EDITOR_BINARY]  (default build/quillet)
set -euo pipefail
cd "$(dirname "$0")/.."
# ImageMagick's "import" takes the picture; iconv (libc-bin) writes the
# sample page in Windows-1251.
./scripts/deps.sh imagemagick libc-bin
editor=$(realpath "${1:-build/quillet}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"
printf '[USER]\r\nname=\xc8\xe2\xe0\xed \xcf\xe5\xf2\xf0\xee\xe2\r\n' >"$work/config/Brannoc Quillet.ini"
doc="$work/index.htm"
# The sample page, in Windows-1251 with CRLF line breaks as the editor keeps it.
printf '%s\r\n' '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Transitional//EN">' '<HTML>' '<HEAD>' \
  ' <TITLE> Моя страница </TITLE>' ' <META NAME="author" CONTENT="Иван Петров">' ' <STYLE TYPE="text/css">' \
  '  H1 { color: navy }' ' </STYLE>' '</HEAD>' '<BODY BGCOLOR="#FFFFFF">' '<!-- шапка' '     страницы -->' \
  '<CENTER><H1>Добро&nbsp;пожаловать!</H1></CENTER>' \
  '<P ALIGN="justify">Эта страница написана &laquo;вручную&raquo;.</P>' '<UL>' \
  '<LI><A HREF="news.htm">Новости</A>' '<LI><A HREF="articles.htm" TARGET=_blank>Статьи</A>' '</UL>' \
  '<SCRIPT LANGUAGE="JavaScript">' ' document.write("<HR>");' '</SCRIPT>' '</BODY>' '</HTML>' | iconv -f UTF-8 -t CP1251 >"$doc"
export HOME="$work" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  "$1" "$2" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 150); do
    id=$(xwininfo -root -tree | grep -F "\"Brannoc Quillet 1.7 [$2]\"" | awk "{print \$1}" | head -n1)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "the editor window did not appear"; kill $pid; exit 1; }
  sleep 1
  import -window "$id" "$3"
  kill $pid
' _ "$editor" "$doc" "$PWD/docs/screenshot.png"
echo "docs/screenshot.png written"
