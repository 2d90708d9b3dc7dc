#!/usr/bin/env bash
# The display settings carried between the Linux and the Windows build, each
# through its own settings store (settings_tool), with Wine's own registry
# tools, in a Wine prefix of this test's own (ZARNOLITH_WINEPREFIX):
#   1. what the Windows build saves is what "reg query" shows, value by value, with its type;
#   2. the file the Linux build saves, imported with "regedit /s", loads the same on Windows;
#   3. a "regedit /e" export of what Windows saved loads the same in the Linux build.
# settings-portability.sh LINUX_SETTINGS_TOOL WINDOWS_RUNNER [RUNNER_OPTIONS...] WINDOWS_SETTINGS_TOOL
set -euo pipefail
linux_tool=$1
shift
win_run=("${@:1:$#-1}") # the runner, which hands its arguments to wine
win_tool=${*: -1}
if [ ! -x "$linux_tool" ]; then
  echo "SKIP: no Linux build of settings_tool at $linux_tool (build the Linux tree first)" >&2
  exit 77
fi
: "${ZARNOLITH_WINEPREFIX:?this test needs a Wine prefix of its own}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
key='HKCU\Software\Zarnolith'

wine_() { "${win_run[@]}" "$@" | tr -d '\r'; }
windows_path() { echo "Z:$(readlink -f "$1" | tr / '\\')"; }
linux_tool() { XDG_CONFIG_HOME=$1 "$linux_tool" "$2"; }
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
same() { # what was saved, what was loaded, where
  diff -u "$1" "$2" >&2 || fail "$3"
}
utf16_export() { [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ] \
  && iconv -f UTF-16LE -t UTF-8 "$1" | head -1 | grep -q '^.\?Windows Registry Editor Version 5.00'; }

# 1. Saved on Windows, shown by reg query.
printf 'FontName=DejaVu Sans Mono\nFontSize=36\nFontColor=ff000008\nFontCharSet=204\nFontStyle=6\nHintColor=5\n' >"$work/in1"
wine_ reg delete "$key" /f >/dev/null 2>&1 || true
wine_ "$win_tool" save <"$work/in1"
wine_ reg query "$key" | awk -F'    ' '/^    [^ ]/ { print $2 "|" $3 "|" $4 }' | sort >"$work/query1"
sort >"$work/expected1" <<'END'
FontName|REG_SZ|DejaVu Sans Mono
FontSize|REG_DWORD|0x24
FontColor|REG_DWORD|0xff000008
FontCharSet|REG_DWORD|0xcc
FontStyle|REG_DWORD|0x6
HintColor|REG_DWORD|0x5
END
same "$work/expected1" "$work/query1" "reg query shows other values than the Windows build saved"

# 2. Saved by the Linux build, imported on Windows. The face name has what a
# file must escape or encode: quotes, backslashes, a line feed, non-ASCII.
printf 'FontName=Gr\xc3\xb6\xc3\x9fe "\xe2\x82\xac" C:\\\\Fonts\\\\ \xf0\x9f\x98\x80\\nZeile 2\nFontSize=9\nFontColor=00123456\nFontCharSet=2\nFontStyle=9\nHintColor=18\n' >"$work/in2"
mkdir -p "$work/linux2"
linux_tool "$work/linux2" save <"$work/in2"
linux_tool "$work/linux2" load >"$work/linux2.out"
same "$work/in2" "$work/linux2.out" "the Linux build does not load what it saved"
utf16_export "$work/linux2/Zarnolith/Zarnolith.reg" || fail "the Linux file is no UTF-16LE registry export"
wine_ reg delete "$key" /f >/dev/null 2>&1 || true
wine_ regedit /s "$(windows_path "$work/linux2/Zarnolith/Zarnolith.reg")"
wine_ "$win_tool" load >"$work/windows2.out"
same "$work/in2" "$work/windows2.out" "the Windows build loads other settings from the imported Linux file"

# 3. Saved on Windows, exported with regedit, loaded by the Linux build.
printf 'FontName=\xc3\x84rger \\\\ "Zitat" \xf0\x9f\x98\x80\\nZeile 2\nFontSize=72\nFontColor=000000ff\nFontCharSet=0\nFontStyle=15\nHintColor=0\n' >"$work/in3"
wine_ reg delete "$key" /f >/dev/null 2>&1 || true
wine_ "$win_tool" save <"$work/in3"
wine_ "$win_tool" load >"$work/windows3.out"
same "$work/in3" "$work/windows3.out" "the Windows build does not load what it saved"
mkdir -p "$work/linux3/Zarnolith"
wine_ regedit /e "$(windows_path "$work/linux3/Zarnolith/Zarnolith.reg")" 'HKEY_CURRENT_USER\Software\Zarnolith'
utf16_export "$work/linux3/Zarnolith/Zarnolith.reg" || fail "regedit exported no UTF-16LE file"
linux_tool "$work/linux3" load >"$work/linux3.out"
same "$work/in3" "$work/linux3.out" "the Linux build loads other settings from the Windows export"
# 4. A face name stored as expandable text, as some tools write it: hex(2) in
# the export, taken as stored (unexpanded) on both sides.
wine_ reg add "$key" /v FontName /t REG_EXPAND_SZ /d '%SystemRoot%\Fonts' /f >/dev/null
sed 's/^FontName=.*/FontName=%SystemRoot%\\\\Fonts/' "$work/in3" >"$work/in4"
wine_ "$win_tool" load >"$work/windows4.out"
same "$work/in4" "$work/windows4.out" "the Windows build does not take expandable text as stored"
mkdir -p "$work/linux4/Zarnolith"
wine_ regedit /e "$(windows_path "$work/linux4/Zarnolith/Zarnolith.reg")" 'HKEY_CURRENT_USER\Software\Zarnolith'
iconv -f UTF-16LE -t UTF-8 "$work/linux4/Zarnolith/Zarnolith.reg" | grep -q '^"FontName"=hex(2):' \
  || fail "regedit exported the expandable text otherwise than as hex(2)"
linux_tool "$work/linux4" load >"$work/linux4.out"
same "$work/in4" "$work/linux4.out" "the Linux build loads expandable text from the export otherwise"
echo "settings carried both ways"
