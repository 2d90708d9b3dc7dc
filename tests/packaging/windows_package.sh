#!/usr/bin/env bash
# The Windows packages as a user meets them, under Wine on a virtual X display:
#   windows_package.sh zip|installer BUILD_DIR POST_TO_TITLE.exe MAKER
# zip:       packs zarnolith-1.01-win64.zip, checks what it holds (every DLL imported by something
#            in it, every import there or part of Windows, nothing with debug information, the
#            program's icon and maker), unpacks it into a folder whose name has a blank and
#            umlauts, starts the program from there.
# installer: packs the installer, installs silently, checks the folder, the Start-menu entry and
#            the uninstall key, starts the installed program and installs again over it (the
#            running program is closed and every file replaced), then uninstalls silently through
#            the key's QuietUninstallString while the program runs again and checks that only the
#            user's settings are left.
# Each start waits for the main window, closes it with message 1124 from an outside program (as
# the updater sends it) and expects exit code 0. Both modes use a Wine prefix of their own, so the
# fixed mutex and window title meet no other test's program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# Every Wine process of the run on one virtual display: a wineserver that a command without a
# display started would keep later windows on a desktop that draws nowhere.
if [ -z "${ZARNOLITH_PACKAGE_TEST_DISPLAY:-}" ]; then
  exec bash "$here/../support/with-desktop.sh" bare env ZARNOLITH_PACKAGE_TEST_DISPLAY=1 bash "$0" "$@"
fi
mode=${1:?usage: windows_package.sh zip|installer BUILD_DIR POST_TO_TITLE.exe}
build=$(cd "${2:?}" && pwd)
poster=$(readlink -f "${3:?}")
maker=${4:?usage: windows_package.sh zip|installer BUILD_DIR POST_TO_TITLE.exe MAKER}
root=$(cd "$here/../.." && pwd)
run=$root/scripts/windows.sh
title="Zarnolith V1.01"

cache=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
export ZARNOLITH_WINEPREFIX=$cache/wineprefix-packages
export WINEPREFIX=$ZARNOLITH_WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
# Unix paths with umlauts reach Windows programs only through a UTF-8 locale.
export LC_ALL=C.UTF-8
# What the program finds must come from the package: no Qt folder on its path, no test platform.
unset WINEPATH QT_QPA_PLATFORM QT_PLUGIN_PATH QT_QPA_PLATFORM_PLUGIN_PATH

fail() { echo "FAIL: $*" >&2; exit 1; }
objdump=x86_64-w64-mingw32-objdump

work=$(mktemp -d)
# end_wine: ends every process of the prefix and waits until its server has gone, so that the
# next Wine process meets a server of its own and nothing an earlier one held (the mutex).
end_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
cleanup() {
  end_wine
  rm -rf "$work"
}
trap cleanup EXIT
# A run of an earlier test may have left a process in the prefix (windows.sh run makes the prefix).
bash "$run" run cmd /c exit >/dev/null 2>&1 || true
end_wine

# wine_text COMMAND...: a Windows command's output without carriage returns.
wine_text() { bash "$run" run "$@" 2>/dev/null | tr -d '\r'; }
# reg_value KEY NAME: the data of a registry value, empty when it does not exist.
reg_value() {
  wine_text reg query "$1" /v "$2" | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}
reg_key_exists() { bash "$run" run reg query "$1" >/dev/null 2>&1; }

# start_program COMMAND...: starts the program with a Windows command line and waits for its main
# window; program holds the process id of the command.
start_program() {
  # The desktop session up first (Wine's start of a session runs its own programs beside the
  # first one), as on Windows, where a user starts the program into a running session.
  bash "$run" run cmd /c exit >/dev/null 2>&1 || true
  WINEDEBUG=err+all,+loaddll bash "$run" run "$@" >"$work/program.log" 2>&1 &
  program=$!
  local found="" rc deadline=$((SECONDS + 180))
  # The main window, mapped on the X display, within three minutes on a busy machine.
  while [ $SECONDS -lt $deadline ]; do
    kill -0 "$program" 2>/dev/null || break
    found=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$found" ] && break
    sleep 0.1
  done
  if [ -z "$found" ]; then
    kill "$program" 2>/dev/null || true
    rc=0
    wait "$program" || rc=$?
    cat "$work/program.log" >&2
    echo "windows on the display:" >&2
    xdotool search --name . getwindowname %@ >&2 2>/dev/null || true
    fail "no main window \"$title\" (program ended with $rc)"
  fi
}

# expect_ended WHAT: the program started last has ended (within two minutes), with exit code 0.
expect_ended() {
  local rc=0 deadline=$((SECONDS + 120))
  while kill -0 "$program" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$program" 2>/dev/null; then
    kill "$program" 2>/dev/null || true
    fail "the program still runs after $1"
  fi
  wait "$program" || rc=$?
  [ "$rc" -eq 0 ] || { cat "$work/program.log" >&2; fail "the program ended with exit code $rc after $1"; }
}

# start_and_close COMMAND...: starts the program, waits for its main window, closes it with 1124
# and expects the command to end with exit code 0.
start_and_close() {
  start_program "$@"
  bash "$run" run "$poster" "$title" 1124 10000 || fail "posting 1124 failed"
  expect_ended 1124
  echo "main window shown; closed by 1124 with exit code 0"
}

# check_resources EXE: its icon (the first one, which Explorer and the task bar show) has the
# sizes Windows shows, and its version information names the maker.
check_resources() {
  local exe=$1 sizes
  rm -f "$work/icon.ico"
  wrestool --extract --type=14 --output="$work/icon.ico" "$exe" 2>/dev/null || true
  [ -s "$work/icon.ico" ] || fail "$(basename "$exe") has no icon"
  sizes=$(icotool --list "$work/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
  [ "$sizes" = "16 24 32 48 256 " ] || fail "$(basename "$exe")'s icon has the sizes $sizes, not 16 24 32 48 256"
}
check_maker() {
  local company
  company=$(wrestool --extract --raw --type=16 "$1" 2>/dev/null | python3 -c '
import sys
text = sys.stdin.buffer.read().decode("utf-16-le", "replace")
# Each entry: its length words, then the key; then the value, all in UTF-16.
parts = [p for p in text.split("\0") if p]
keys = [i for i, p in enumerate(parts) if p.endswith("CompanyName") and i + 1 < len(parts)]
print(parts[keys[0] + 1] if keys else "")')
  [ "$company" = "$maker" ] || fail "$(basename "$1") names \"$company\" as its maker, not \"$maker\""
}

# check_contents DIR: the package's binaries import nothing missing and carry nothing unused.
check_contents() {
  local dir=$1 f
  for f in zarnolith.exe zarnolith-gui.dll History.txt platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
    [ -f "$dir/$f" ] || fail "$f missing"
  done
  check_resources "$dir/zarnolith.exe"
  check_maker "$dir/zarnolith.exe"
  python3 - "$dir" "$objdump" <<'PY' || exit 1
import os, re, subprocess, sys
root, objdump = sys.argv[1:]
files = {}
for d, _, names in os.walk(root):
    for n in names:
        if n.lower().endswith((".dll", ".exe")):
            files[os.path.relpath(os.path.join(d, n), root)] = os.path.join(d, n)
beside = {rel.lower(): rel for rel in files if os.sep not in rel}
def imports(path):
    out = subprocess.run([objdump, "-p", path], capture_output=True, text=True, check=True).stdout
    return [m.lower() for m in re.findall(r"DLL Name: (\S+)", out)]
def windows_dll(name):
    return os.path.exists(f"/usr/x86_64-w64-mingw32/lib/lib{name[:-4]}.a") or name.startswith(("api-ms-", "ext-ms-"))
# The roots: the launcher, the GUI library the launcher loads by name, the plugins Qt loads.
roots = ["zarnolith.exe", "zarnolith-gui.dll"] + [r for r in files if os.sep in r and r.lower().endswith(".dll")]
used, queue, ok = set(), list(roots), True
while queue:
    rel = queue.pop()
    for name in imports(files[rel]):
        if name in beside:
            if beside[name] not in used:
                used.add(beside[name])
                queue.append(beside[name])
        elif not windows_dll(name):
            print(f"FAIL: {rel} imports {name}, which is neither in the package nor part of Windows")
            ok = False
for rel in sorted(files):
    if rel.lower().endswith(".dll") and rel not in used and rel not in roots:
        print(f"FAIL: {rel} is packed but nothing imports it")
        ok = False
    sections = subprocess.run([objdump, "-h", files[rel]], capture_output=True, text=True, check=True).stdout
    if ".debug_" in sections:
        print(f"FAIL: {rel} carries debug information (not stripped)")
        ok = False
sys.exit(0 if ok else 1)
PY
}

case $mode in
  zip)
    cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null
    zip=$work/pkg/zarnolith-1.01-win64.zip
    [ -f "$zip" ] || fail "no $zip"
    place="$work/Programme für alle/Zarnolith Prüfung – äöü ß"
    mkdir -p "$place"
    python3 -m zipfile -e "$zip" "$place"
    dir="$place/zarnolith-1.01-win64"
    check_contents "$dir"
    start_and_close "$dir/zarnolith.exe"
    ;;
  installer)
    cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null
    setup=$work/pkg/zarnolith-1.01-win64-setup.exe
    [ -f "$setup" ] || fail "no $setup"
    # Runs with the rights of the user who starts it: no elevation prompt on Windows.
    grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup" || fail "the installer asks for other rights than the user's"

    uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarnolith'
    settings_key='HKCU\Software\Zarnolith'
    local_appdata=$(wine_text cmd /c echo %LOCALAPPDATA%)
    programs=$(wine_text cmd /c echo %APPDATA%)'\Microsoft\Windows\Start Menu\Programs'
    install_dir=$(winepath -u "$local_appdata\\Programs\\Zarnolith")
    temp_dir=$(winepath -u "$(wine_text cmd /c echo %TEMP%)")
    rm -rf "$temp_dir"/~nsu*.tmp
    shortcut=$(winepath -u "$programs\\$title.lnk")
    # A clean user: nothing of an earlier run, and settings of the user's own that must survive.
    bash "$run" run reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    bash "$run" run reg delete "$settings_key" /f >/dev/null 2>&1 || true
    # The folder of the user's programs too: the installation makes it, the uninstallation removes it.
    programs_dir=$(dirname "$install_dir")
    rm -rf "$programs_dir" "$shortcut"
    bash "$run" run reg add "$settings_key" /v FontName /t REG_SZ /d "Courier New" /f >/dev/null
    bash "$run" run reg add "$settings_key" /v FontSize /t REG_DWORD /d 20 /f >/dev/null

    check_resources "$setup"
    bash "$run" run "$setup" /S || fail "silent installation ended with $?"
    wineserver -w
    check_contents "$install_dir"
    check_resources "$install_dir/Deinstallieren.exe"
    [ -f "$install_dir/Deinstallieren.exe" ] || fail "no uninstaller in $install_dir"
    # The installed files are those of the package, no more and no fewer.
    (cd "$work/pkg/_CPack_Packages/win64/NSIS/zarnolith-1.01-win64-setup" && find . -type f | sort) > "$work/packed"
    (cd "$install_dir" && find . -type f ! -name Deinstallieren.exe | sort) > "$work/installed"
    diff "$work/packed" "$work/installed" || fail "installed files differ from the package's"
    [ -f "$shortcut" ] || fail "no Start-menu entry $shortcut"
    python3 -c 'import sys; d = open(sys.argv[1], "rb").read().lower(); sys.exit(not (b"zarnolith.exe" in d or "zarnolith.exe".encode("utf-16-le") in d))' \
      "$shortcut" || fail "the Start-menu entry does not start zarnolith.exe"
    [ "$(reg_value "$uninstall_key" DisplayName)" = "$title" ] || fail "uninstall key without DisplayName"
    publisher=$(reg_value "$uninstall_key" Publisher)
    [ "$publisher" = "$maker" ] || fail "uninstall key: publisher \"$publisher\", not the maker \"$maker\""
    [ "$(reg_value "$uninstall_key" InstallLocation)" = "$local_appdata\\Programs\\Zarnolith" ] ||
      fail "uninstall key: InstallLocation is not the user's program folder"
    quiet=$(reg_value "$uninstall_key" QuietUninstallString)
    [ -n "$quiet" ] || fail "uninstall key without QuietUninstallString"
    echo "installed into $install_dir, Start-menu entry and uninstall key in place"

    # Started by its Windows path, as the Start-menu entry does (Wine's "start /wait" of a link
    # does not wait for the program).
    program_path="$local_appdata\\Programs\\Zarnolith\\zarnolith.exe"
    start_and_close "$program_path"

    # Installed again over the running program, as an upgrade is: the installer closes it (1124)
    # and replaces every file. The files' times are set back first: a file the installer did not
    # replace keeps that time.
    start_program "$program_path"
    find "$install_dir" -type f -exec touch -d 2000-01-01 {} +
    rc=0
    bash "$run" run "$setup" /S || rc=$?
    [ "$rc" -eq 0 ] || fail "silent installation over the running program ended with $rc"
    expect_ended "the installation over it"
    old=$(cd "$install_dir" && find . -type f ! -newermt 2001-01-01 | sort)
    [ -z "$old" ] || fail "installed over the running program, these files were not replaced: $old"
    echo "installed over the running program: it was closed and every file replaced"

    # A program that does not end (stopped here, so it takes no message): the silent installation
    # gives up after its time limit with exit code 2 and changes no file.
    start_program "$program_path"
    stopped=""
    for pid in $(pgrep -f 'Zarnolith.zarnolith\.exe' || true); do
      tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && stopped="$stopped $pid"
    done
    [ -n "$stopped" ] || fail "the started program's process was not found"
    # shellcheck disable=SC2086
    kill -STOP $stopped
    find "$install_dir" -type f -exec touch -d 2000-01-01 {} +
    rc=0
    bash "$run" run "$setup" /S || rc=$?
    # shellcheck disable=SC2086
    kill -CONT $stopped
    [ "$rc" -eq 2 ] || fail "silent installation over a program that does not end ended with $rc, not 2"
    changed=$(cd "$install_dir" && find . -type f -newermt 2001-01-01 | sort)
    [ -z "$changed" ] || fail "the installation that gave up changed these files: $changed"
    # Going on, it takes the 1124 the installer posted; once more, should that not have reached it.
    bash "$run" run "$poster" "$title" 1124 >/dev/null 2>&1 || true
    expect_ended 1124
    echo "a program that does not end: the silent installation gave up with exit code 2, nothing changed"

    # As Windows' settings run it: the program and the arguments the key names, here while the
    # program runs: the uninstaller closes it first.
    start_program "$program_path"
    [[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "QuietUninstallString $quiet is no quoted path with arguments"
    read -r -a arguments <<<"${BASH_REMATCH[2]}"
    bash "$run" run "${BASH_REMATCH[1]}" "${arguments[@]}" || fail "silent uninstallation ended with $?"
    # The uninstaller goes on from a copy of itself in the temporary folder: wait until that has
    # ended (and with it the program it closed).
    expect_ended "the uninstallation"
    wineserver -w
    [ ! -e "$install_dir" ] || { find "$install_dir" >&2; fail "the install folder is still there"; }
    [ ! -e "$shortcut" ] || fail "the Start-menu entry is still there"
    ! reg_key_exists "$uninstall_key" || fail "the uninstall key is still there"
    [ ! -e "$programs_dir" ] || fail "the folder $programs_dir that the installation made is still there"
    left=$(find "$temp_dir" -maxdepth 1 -iname '~nsu*.tmp' 2>/dev/null)
    [ -z "$left" ] || fail "the uninstaller left its copy behind: $left"
    [ "$(reg_value "$settings_key" FontName)" = "Courier New" ] && [ "$(reg_value "$settings_key" FontSize)" = 0x14 ] ||
      fail "the user's settings in $settings_key did not survive the uninstallation"
    echo "uninstalled: folder, Start-menu entry and uninstall key gone, the user's settings kept"
    ;;
  *)
    fail "unknown mode $mode"
    ;;
esac
