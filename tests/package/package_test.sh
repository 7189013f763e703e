#!/usr/bin/env bash
# The Debian package as a new user meets it: packed under a umask of 077, installed with apt,
# and then the installed programs, launcher, menu entry, AppStream data and manual pages.
# Needs root (it installs the package). usage: package_test.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
passed=0 failed=0
check() {  # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAIL: $what"
    failed=$((failed + 1))
  fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rm -f "$build"/orvane_*.deb
(cd "$build" && umask 077 && cpack -G DEB > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$build"/orvane_*_*.deb)
echo "package: $(basename "$deb")"
check "every folder in the package is 0755 though packed under umask 077" \
  test -z "$(dpkg-deb -c "$deb" | awk '/^d/ && $1 != "drwxr-xr-x"')"
check "the package depends on the voices, the dictionary, the font and Qt's texts" \
  bash -c "dpkg-deb -f '$deb' Depends | grep -q 'espeak-ng-data.*mecab-ipadic-utf8.*open-jtalk-mecab-naist-jdic.*fonts-ipafont-gothic.*qt6-translations-l10n.*libflite1'"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "$deb" > "$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; exit 1; }

# The installed headless runner and checker on the installed example.
cp /usr/share/orvane/examples/toi.dat /usr/share/orvane/examples/speech.ini "$work/"
check "the installed orvane-sim plays the example" \
  bash -c "cd '$work' && printf 'start\nkey Tab\n' | /usr/bin/orvane-sim | grep -q '^say mode=2 speed=175 \"Start\"'"
check "the installed orvane-check finds the example clean" /usr/bin/orvane-check "$work/toi.dat"
check "the installed reader reads numbers and counters, with the user dictionary" \
  bash -c "[[ \$(/usr/bin/orvane-say --reading 'ギターを3本弾きます') == ギターヲサンボンヒキマス ]]"
check "the installed voice finds the prompt's accent in the accent dictionary" \
  bash -c "[[ \$(/usr/bin/orvane-say --accent '箸で食べます') == \"ハ'シデ/タベマ'ス\" ]]"
for tool in orvane orvane-launch orvane-sim orvane-say orvane-check; do
  check "$tool --help and --version, with no window and no file touched" bash -c \
    "cd '$work' && HOME='$work/options' DISPLAY= /usr/bin/$tool --help > /dev/null &&
     HOME='$work/options' DISPLAY= /usr/bin/$tool --version | grep -q '^$tool [0-9]' &&
     [[ ! -e '$work/options' ]]"
  check "$tool names an unknown option, status 2" bash -c \
    "out=\$(/usr/bin/$tool --no-such-option 2>&1 >/dev/null); status=\$?
     [[ \$status -eq 2 && \$out == *--no-such-option* ]]"
done

# The launcher makes the user's folder once and never overwrites what is there.
home=$work/home
mkdir -p "$home"
launch() { HOME=$home QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/orvane-launch > /dev/null 2>&1; }
launch
check "the launcher makes ~/Orvane with the examples" \
  cmp -s "$home/Orvane/toi.dat" /usr/share/orvane/examples/toi.dat
printf '0\r\n1\r\n7\r\n' > "$home/Orvane/speech.ini"
launch
check "the launcher leaves the user's own speech.ini alone" \
  bash -c "[[ \$(cat '$home/Orvane/speech.ini') == \$(printf '0\r\n1\r\n7\r') ]]"

for bad in "" relative; do
  check "the launcher refuses the home '$bad' and makes nothing" bash -c \
    "cd '$work' && ! HOME='$bad' /usr/bin/orvane-launch 2> /dev/null && [[ ! -e /Orvane && ! -e '$work/$bad/Orvane' ]]"
done

# As a Debian packager would take it: lintian finds no error and no warning, and a software
# centre's catalogue entry is made from the unpacked package.
lintian --tag-display-limit 0 "$deb" > "$work/lintian.txt" 2>&1
check "lintian finds no error and no warning" bash -c "! grep -E '^[EW]: ' '$work/lintian.txt'"
mkdir -p "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
check "appstreamcli compose makes the catalogue entry, with its icon" bash -c \
  "appstreamcli compose --result-root='$work/catalogue' --origin=orvane '$work/unpacked' > '$work/compose.txt' 2>&1 &&
   zgrep -q org.orvane.Orvane '$work/catalogue/usr/share/swcatalog/xml/orvane.xml.gz' &&
   ls '$work/catalogue/usr/share/swcatalog/icons/orvane/128x128/' | grep -q png"
check "the help file lies with the program's data, not among the programs" bash -c \
  "[[ -f /usr/share/orvane/orvane.hlp && ! -e /usr/bin/orvane.hlp ]]"

check "the menu entry is valid" desktop-file-validate /usr/share/applications/orvane.desktop
check "the AppStream data is valid" \
  appstreamcli validate --no-net /usr/share/metainfo/org.orvane.Orvane.metainfo.xml > /dev/null
for page in orvane orvane-launch orvane-sim orvane-say orvane-check; do
  check "Japanese man page $page renders" bash -c \
    "MANWIDTH=80 man -l /usr/share/man/ja/man1/$page.1.gz 2> /dev/null | grep -q '名前'"
done
for page in orvane orvane-launch orvane-sim orvane-say orvane-check; do
  check "man page $page renders without warnings" bash -c \
    "[[ -z \$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l /usr/share/man/man1/$page.1.gz 2>&1 > /dev/null) ]]"
done
echo "$passed passed, $failed failed"
((failed == 0))
