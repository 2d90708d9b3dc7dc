#!/usr/bin/env bash
# The Windows build on a Debian 12 machine, in steps that build on each other:
#   bash scripts/windows.sh STEP [ARGUMENTS...]
#
#   toolchain              Debian's MinGW-w64 cross compilers and Wine; Qt's qtbase and GoogleTest
#                          cross-built once and kept in a cache outside any build tree (see below)
#   wineprefix [--fresh] [PREFIX]
#                          the headless 64-bit Wine prefix the tests run in (made once)
#   build [TARGET...]      configures build-win64 and builds everything (or the targets)
#   test [CTEST ARGS...]   the missing Debian packages, toolchain, Wine prefix, build, then the
#                          whole suite under Wine, headless (e.g. -R test_app for one program)
#   package [--test]       the zip and the per-user installer in build-win64 (with --test, then
#                          their install/start/remove tests under Wine)
#   smoke [BUILD_DIR]      the toolchain checked with the small program in tests/windows-smoke
#   screenshots            the README's pictures of the Windows build (docs/screenshots/windows-*)
#   bench [RUNS]           the start-up under Wine against baselines (bench/windows)
#   run [--dll-dir DIR]... PROGRAM.exe [ARGS...]
#                          a Windows program under Wine; CTest's emulator for the Windows build
#
# Every step that builds uses the one configuration of build-win64 (ZARNOLITH_WIN64_BUILD chooses
# another directory): the benchmark programs are part of it, so no step reconfigures or rebuilds
# what another built. screenshots and bench share one set-up: the program installed from the build
# into a temporary folder, run in the Wine prefix wineprefix-bench on a virtual X display of its own.
#
# Environment: ZARNOLITH_CACHE (cache root, default $XDG_CACHE_HOME/zarnolith or ~/.cache/zarnolith),
# ZARNOLITH_WINEPREFIX (the tests' Wine prefix, default <cache>/win64/wineprefix), JOBS (parallel
# jobs of the toolchain build, default nproc).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SELF=$ROOT/scripts/windows.sh
CACHE=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
BUILD=${ZARNOLITH_WIN64_BUILD:-$ROOT/build-win64}

usage() { sed -n '3,19p' "$SELF" | sed 's/^# \{0,1\}//' >&2; exit 2; }

# --- toolchain ---------------------------------------------------------------------------------------
# The cache:
#   <cache>/win64/
#     qtbase-<source version>_gcc-<compiler version>_<hash of the configure flags>/
#     googletest-<source version>_gcc-<compiler version>_<hash of the configure flags>/
#     current.cmake   (read by cmake/toolchain-mingw64.cmake: where the two above are)
# A second run finds both and only rewrites current.cmake. Runs in a subshell of its own: its
# lock, clean-up and variables end with it.
step_toolchain() (
  JOBS=${JOBS:-$(nproc)}
  NICE=(nice -n 19)
  TRIPLE=x86_64-w64-mingw32

  log() { printf '[windows toolchain] %s\n' "$*" >&2; }
  die() { log "error: $*"; exit 1; }

  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 "$@"; }

  # --- Debian packages -----------------------------------------------------------------------------
  # The cross compilers, Wine, what builds Qt, and what packs and tests the Windows packages.
  PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    dpkg-dev cmake ninja-build perl patch xz-utils
    qt6-base-dev qt6-base-dev-tools
    googletest
    qt6-translations-l10n
    nsis librsvg2-bin icoutils
    xvfb xdotool python3
  )
  bash "$ROOT/scripts/deps.sh" "${PACKAGES[@]}"

  QT_VERSION=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)      # e.g. 6.4.2+dfsg-10
  QT_UPSTREAM=${QT_VERSION%%+*}; QT_UPSTREAM=${QT_UPSTREAM%%-*}        # e.g. 6.4.2
  GTEST_VERSION=$(dpkg-query -W -f='${Version}' googletest)
  CC_VERSION=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
  CXX=$TRIPLE-g++-posix

  # --- configure flags (part of the cache key) -------------------------------------------------------
  # Notes on the Qt flags:
  #  * Only what the program and its tests use is built: Core, Gui, Widgets and Test; the windows,
  #    offscreen and minimal platform plugins and the windowsvista style come with Gui/Widgets on
  #    Windows. Qt Network is not used (the instance channel on Windows is window messages).
  #  * The widgets, dialogs and text formats the program never shows are left out (graphics view, MDI,
  #    dock widgets, Qt's own file, font and colour dialogs, PDF, Markdown, ODF, ...): each is a
  #    feature Qt's "lite" configurations turn off, and together they are a good part of the build.
  #    A class of one of them in our code fails the Windows build at once.
  #  * inputdialog must stay on: the windowsvista style plugin includes qinputdialog.h.
  #  * tabletevent must be off: Debian's +dfsg tarball drops src/3rdparty/wintab (wintab.h), which the
  #    windows platform plugin needs for tablet input.
  #  * direct2d must stay on: in 6.4 the DirectWrite font database in QtGui is only built with it, and
  #    qwindows.dll does not link without that. direct2d1_1 is off: it only adds the direct2d
  #    platform plugin, which compiles the whole windows platform plugin a second time.
  #  * the bundled third-party libraries are used (there are none for MinGW in Debian); pkg-config off
  #    so that nothing of the host leaks in.
  #  * the host tools (moc, rcc, uic, ...) are Debian's, of the same version, through QT_HOST_PATH.
  QT_FLAGS=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_pkg_config=OFF
    -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_network=OFF -DFEATURE_testlib=ON
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
    -DINPUT_openssl=no -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF -DFEATURE_ssl=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d1_1=OFF
    -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dockwidget=OFF -DFEATURE_toolbox=OFF
    -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_dial=OFF -DFEATURE_lcdnumber=OFF
    -DFEATURE_splashscreen=OFF -DFEATURE_wizard=OFF -DFEATURE_keysequenceedit=OFF
    -DFEATURE_fontcombobox=OFF -DFEATURE_commandlinkbutton=OFF -DFEATURE_columnview=OFF
    -DFEATURE_tablewidget=OFF -DFEATURE_treewidget=OFF -DFEATURE_datawidgetmapper=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF
    -DFEATURE_progressdialog=OFF -DFEATURE_errormessage=OFF
    -DFEATURE_fscompleter=OFF -DFEATURE_filesystemmodel=OFF
    -DFEATURE_undoview=OFF -DFEATURE_undogroup=OFF -DFEATURE_undostack=OFF -DFEATURE_undocommand=OFF
    -DFEATURE_syntaxhighlighter=OFF -DFEATURE_textbrowser=OFF
    -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_gif=OFF
    -DFEATURE_systemtrayicon=OFF -DFEATURE_sessionmanager=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
  )
  # Of Debian's patches only the security fixes apply here; the rest are about Linux and packaging.
  QT_PATCH_PATTERN='cve'
  GTEST_FLAGS=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    -Dgtest_disable_pthreads=OFF
  )

  # CPU seconds (user + system) of this shell's finished children so far: a build's cost on a machine
  # shared with other work, where its wall time says little.
  children_cpu() { awk -v hz="$(getconf CLK_TCK)" '{ print int(($16 + $17) / hz) }' "/proc/$BASHPID/stat"; }

  flags_hash() { printf '%s\n' "$@" | sha256sum | cut -c1-12; }
  sanitize() { printf '%s' "$1" | tr -c 'A-Za-z0-9.+_-' '_'; }
  QT_KEY="qtbase-$(sanitize "$QT_VERSION")_gcc-$(sanitize "$CC_VERSION")_$(flags_hash "${QT_FLAGS[@]}" "patches:$QT_PATCH_PATTERN")"
  GTEST_KEY="googletest-$(sanitize "$GTEST_VERSION")_gcc-$(sanitize "$CC_VERSION")_$(flags_hash "${GTEST_FLAGS[@]}")"
  QT_PREFIX=$CACHE/$QT_KEY
  GTEST_PREFIX=$CACHE/$GTEST_KEY
  mkdir -p "$CACHE"

  # Both prefixes are built in place (Qt records its prefix) and count as done only with their stamp.
  done_stamp=.zarnolith-complete

  # --- deb-src entry for the archive the host's Qt comes from ----------------------------------------
  ensure_deb_src() {
    if apt-cache showsrc qt6-base 2>/dev/null | grep -qx "Version: $QT_VERSION"; then return; fi
    # The archive the installed qt6-base-dev-tools came from, e.g. the Debian archive.
    local uri
    uri=$(apt-cache policy qt6-base-dev-tools | awk '/^ \*\*\* /{f=1; next} f && $2 ~ /:\/\//{print $2; exit}')
    [ -n "$uri" ] || die "cannot tell which archive qt6-base-dev-tools came from"
    local out_sources=/etc/apt/sources.list.d/zarnolith-deb-src.sources
    local out_list=/etc/apt/sources.list.d/zarnolith-deb-src.list
    local tmp; tmp=$(mktemp)
    # deb822 files: copy each "Types: deb" stanza of that archive as a deb-src stanza.
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && [ "$f" != "$out_sources" ] || continue
      awk -v RS= -v ORS='\n\n' -v uri="${uri%/}" '
        function has_uri(stanza,   n, lines, i, f, k, u) {
          n = split(stanza, lines, "\n")
          for (i = 1; i <= n; i++)
            if (lines[i] ~ /^URIs:/)
              for (k = split(lines[i], f, /[ \t]+/); k > 1; k--) { u = f[k]; sub(/\/$/, "", u); if (u == uri) return 1 }
          return 0
        }
        /(^|\n)Types:[^\n]*deb([ \t]|\n|$)/ && has_uri($0) && !/(^|\n)Enabled: *no/ {
          sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f" >> "$tmp"
    done
    if [ -s "$tmp" ]; then
      $SUDO install -m 644 "$tmp" "$out_sources"
    else
      # one-line format: "deb [opts] URI suite components" -> "deb-src ..."
      cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk -v uri="$uri" '$1 == "deb" && index($0, uri) { $1 = "deb-src"; print }' > "$tmp"
      [ -s "$tmp" ] || die "no deb entry for $uri found under /etc/apt"
      $SUDO install -m 644 "$tmp" "$out_list"
    fi
    rm -f "$tmp"
    log "added deb-src entries for $uri; updating the package lists"
    apt_get update -qq
    apt-cache showsrc qt6-base | grep -qx "Version: $QT_VERSION" ||
      die "the archive has no source of qt6-base $QT_VERSION"
  }

  # --- the project's toolchain file, with the location of the prefixes ------------------------------
  write_current() {
    cat > "$CACHE/current.cmake.tmp" <<EOF
# Written by scripts/windows.sh toolchain; read by cmake/toolchain-mingw64.cmake.
set(ZARNOLITH_WIN64_QT_DIR "$QT_PREFIX")
set(ZARNOLITH_WIN64_GTEST_DIR "$GTEST_PREFIX")
EOF
    mv "$CACHE/current.cmake.tmp" "$CACHE/current.cmake"
  }

  # --- qtbase ----------------------------------------------------------------------------------------
  build_qt() {
    ensure_deb_src
    local work; work=$(mktemp -d "${TMPDIR:-/tmp}/zarnolith-qtbase.XXXXXX")
    WORK_DIRS+=("$work")
    log "fetching the source of qt6-base $QT_VERSION into $work"
    # (apt's download user cannot write into a private temporary folder: download as ourselves)
    (cd "$work" && apt-get source --download-only -qq -o APT::Sandbox::User="$(id -un)" \
       "qt6-base=$QT_VERSION" >/dev/null)
    local orig debian
    orig=$(ls "$work"/qt6-base_*.orig.tar.xz)
    debian=$(ls "$work"/qt6-base_*.debian.tar.xz)
    mkdir -p "$work/src" "$work/pkg"
    "${NICE[@]}" tar xf "$orig" -C "$work/src" --strip-components=1
    tar xf "$debian" -C "$work/pkg"
    local p applied=0
    while read -r p; do
      p=${p%%#*}; p=${p%% *}
      [ -n "$p" ] || continue
      if printf '%s' "$p" | grep -qi "$QT_PATCH_PATTERN"; then
        patch -s -d "$work/src" -p1 < "$work/pkg/debian/patches/$p"
        applied=$((applied + 1))
      fi
    done < "$work/pkg/debian/patches/series"
    log "applied $applied security patches of Debian's"

    rm -rf "$QT_PREFIX"; mkdir -p "$QT_PREFIX"
    # Qt's installed qt.toolchain.cmake records the path of this file: keep a copy inside the prefix.
    cp "$ROOT/cmake/toolchain-mingw64.cmake" "$QT_PREFIX/toolchain-mingw64-build.cmake"
    log "configuring qtbase (log: $QT_PREFIX/build.log)"
    local start=$SECONDS cpu_start; cpu_start=$(children_cpu)
    PKG_CONFIG_LIBDIR=/nonexistent "${NICE[@]}" cmake -G Ninja -S "$work/src" -B "$work/build" \
      -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/toolchain-mingw64-build.cmake" \
      -DZARNOLITH_WIN64_DEPS_BUILD=ON \
      -DQT_HOST_PATH=/usr \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
      -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
      "${QT_FLAGS[@]}" > "$QT_PREFIX/build.log" 2>&1 || { tail -40 "$QT_PREFIX/build.log"; die "qtbase configure failed"; }
    log "building qtbase with $JOBS jobs"
    "${NICE[@]}" cmake --build "$work/build" --parallel "$JOBS" >> "$QT_PREFIX/build.log" 2>&1 ||
      { tail -40 "$QT_PREFIX/build.log"; die "qtbase build failed, see $QT_PREFIX/build.log"; }
    "${NICE[@]}" cmake --install "$work/build" --strip >> "$QT_PREFIX/build.log" 2>&1 ||
      die "qtbase install failed, see $QT_PREFIX/build.log"
    cp "$work/build/config.summary" "$QT_PREFIX/config.summary" 2>/dev/null || true
    # Every build step's time, to see what each Qt module costs (e.g. before leaving one out).
    cp "$work/build/.ninja_log" "$QT_PREFIX/build-steps.ninja_log" 2>/dev/null || true
    # The compiler's runtime DLLs beside Qt's, stripped (Debian ships them with debug info), so that a
    # program finds all it needs in one folder.
    local dll
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
      local path; path=$(readlink -f "$($CXX -print-file-name="$dll")")
      [ -f "$path" ] || die "runtime DLL $dll not found"
      $TRIPLE-strip --strip-unneeded -o "$QT_PREFIX/bin/$dll" "$path"
    done
    local cpu=$(($(children_cpu) - cpu_start))
    printf 'key=%s\nqt6-base=%s\ncompiler=%s\nbuild_seconds=%s\ncpu_seconds=%s\nflags=%s\n' \
      "$QT_KEY" "$QT_VERSION" "$CC_VERSION" "$((SECONDS - start))" "$cpu" "${QT_FLAGS[*]}" > "$QT_PREFIX/$done_stamp"
    log "qtbase done in $((SECONDS - start)) s ($cpu s CPU)"
  }

  # --- GoogleTest / GoogleMock -----------------------------------------------------------------------
  build_gtest() {
    local src=/usr/src/googletest     # Debian's googletest source package, as installed by "googletest"
    [ -f "$src/CMakeLists.txt" ] || die "$src is missing (package googletest)"
    local work; work=$(mktemp -d "${TMPDIR:-/tmp}/zarnolith-gtest.XXXXXX")
    WORK_DIRS+=("$work")
    rm -rf "$GTEST_PREFIX"; mkdir -p "$GTEST_PREFIX"
    local start=$SECONDS
    log "building googletest $GTEST_VERSION"
    { "${NICE[@]}" cmake -G Ninja -S "$src" -B "$work" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" \
        -DZARNOLITH_WIN64_DEPS_BUILD=ON \
        -DCMAKE_INSTALL_PREFIX="$GTEST_PREFIX" "${GTEST_FLAGS[@]}" &&
      "${NICE[@]}" cmake --build "$work" --parallel "$JOBS" &&
      "${NICE[@]}" cmake --install "$work" --strip; } > "$GTEST_PREFIX/build.log" 2>&1 ||
      { tail -40 "$GTEST_PREFIX/build.log"; die "googletest build failed"; }
    printf 'key=%s\ngoogletest=%s\ncompiler=%s\nbuild_seconds=%s\nflags=%s\n' \
      "$GTEST_KEY" "$GTEST_VERSION" "$CC_VERSION" "$((SECONDS - start))" "${GTEST_FLAGS[*]}" > "$GTEST_PREFIX/$done_stamp"
  }

  # Sources and build trees are temporary, also when a step fails (the log stays in the prefix).
  WORK_DIRS=()
  cleanup() { [ ${#WORK_DIRS[@]} -eq 0 ] || rm -rf "${WORK_DIRS[@]}"; }
  trap cleanup EXIT

  # One run at a time per cache (a second one waits, then finds the result).
  exec 9> "$CACHE/.lock"
  flock 9

  if [ -f "$QT_PREFIX/$done_stamp" ]; then log "cached: $QT_KEY"; else build_qt; fi
  if [ -f "$GTEST_PREFIX/$done_stamp" ]; then log "cached: $GTEST_KEY"; else build_gtest; fi
  write_current
  log "ready: cmake -DCMAKE_TOOLCHAIN_FILE=$ROOT/cmake/toolchain-mingw64.cmake ..."
)

# --- wineprefix --------------------------------------------------------------------------------------
# An existing complete prefix is kept; --fresh makes it anew.
step_wineprefix() (
  fresh=0
  if [ "${1:-}" = --fresh ]; then fresh=1; shift; fi
  PREFIX=${1:-${ZARNOLITH_WINEPREFIX:-$CACHE/wineprefix}}
  stamp=$PREFIX/.zarnolith-prefix-ready

  if [ $fresh = 0 ] && [ -f "$stamp" ]; then exit 0; fi
  command -v wine >/dev/null || { echo "wine is missing: run bash scripts/windows.sh toolchain" >&2; exit 1; }

  export WINEPREFIX=$PREFIX WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko: nothing here needs them, and there is no prompt to download them.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  wineserver -k 2>/dev/null || true
  rm -rf "$PREFIX"
  mkdir -p "$(dirname "$PREFIX")"
  nice -n 10 wine wineboot --init >/dev/null 2>&1
  wineserver -w

  # A crashing program must end (and fail its test), not wait in Wine's crash dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w

  # Wine does not find its own fonts in /usr/share/wine/fonts here; without Tahoma ("MS Shell Dlg")
  # Qt falls back to a font that draws no text in line edits. Copy them into C:\windows\Fonts.
  fonts=(/usr/share/wine/fonts/*.ttf)
  [ -f "${fonts[0]}" ] || { echo "no fonts in /usr/share/wine/fonts (package fonts-wine)" >&2; exit 1; }
  cp "${fonts[@]}" "$PREFIX/drive_c/windows/Fonts/"
  touch "$stamp"
  echo "Wine prefix ready: $PREFIX"
)

# --- run ---------------------------------------------------------------------------------------------
# - the Wine prefix is ZARNOLITH_WINEPREFIX (else <cache>/win64/wineprefix), made on first use;
# - each DLL folder goes onto the program's PATH, so Qt's and the compiler's DLLs are found;
# - Wine hands no QT_* variables to Windows programs, only WINEQT_* ones (renamed to QT_*):
#   every QT_* variable is passed on that way; QT_QPA_FONTDIR defaults to the prefix's fonts;
# - the program's exit code is returned.
step_run() {
  export WINEPREFIX=${ZARNOLITH_WINEPREFIX:-$CACHE/wineprefix}
  export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  local path=""
  while [ $# -gt 0 ] && [ "$1" = --dll-dir ]; do
    path="${path:+$path;}Z:$(readlink -f "$2" | tr / '\\')"
    shift 2
  done
  [ $# -gt 0 ] || { echo "usage: $0 run [--dll-dir DIR]... PROGRAM [ARGUMENTS...]" >&2; exit 2; }
  [ -n "$path" ] && export WINEPATH="$path${WINEPATH:+;$WINEPATH}"

  # The offscreen and minimal platforms read fonts from a folder, by default one inside Qt that is
  # empty: give them the prefix's Windows fonts.
  export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-$WINEPREFIX/drive_c/windows/Fonts}
  local name
  for name in $(compgen -e); do
    case $name in QT_*) export "WINE$name=${!name}" ;; esac
  done

  if [ ! -f "$WINEPREFIX/.zarnolith-prefix-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # parallel tests: one makes the prefix, the others wait for it
    flock "$WINEPREFIX.lock" bash "$SELF" wineprefix "$WINEPREFIX" >&2
  fi
  exec wine "$@"
}

# --- build -------------------------------------------------------------------------------------------
configure() {
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  # The one configuration of every step; cmake keeps a configured tree as it is.
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARNOLITH_BUILD_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" "${launcher[@]}" >/dev/null
}

step_build() {
  step_toolchain
  configure
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  nice -n 10 cmake --build "$BUILD" -j"$(nproc)" "${targets[@]}"
}

# --- test --------------------------------------------------------------------------------------------
# The test programs on the offscreen platform need no display; the tests of real windows start their
# own (Xvfb with openbox, tests/windows). Each part's wall time is printed.
timed() {
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "windows: $name: $((SECONDS - start)) s"
}

run_tests() {
  # Wine must not reach a display the caller may have: headless means headless.
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$BUILD" --output-on-failure -j2 --timeout 900 "$@"
}

step_test() {
  timed "packages" bash "$ROOT/scripts/deps.sh"
  timed "toolchain" step_toolchain
  timed "Wine prefix" step_wineprefix
  timed "configure" configure
  timed "build" nice -n 10 cmake --build "$BUILD" -j"$(nproc)"
  timed "tests" run_tests "$@"
}

# --- package -----------------------------------------------------------------------------------------
#   build-win64/zarnolith-1.01-win64.zip         unpack anywhere, start zarnolith.exe
#   build-win64/zarnolith-1.01-win64-setup.exe   per-user installer (NSIS)
step_package() {
  local test=0
  case "${1:-}" in
    --test) test=1 ;;
    "") ;;
    *) echo "usage: $0 package [--test]" >&2; exit 2 ;;
  esac
  local targets=(zarnolith zarnolith_gui)
  [ $test = 0 ] || targets+=(post_to_title)
  step_build "${targets[@]}"
  (cd "$BUILD" && cpack -G "ZIP;NSIS" >/dev/null)
  local package
  for package in zarnolith-1.01-win64.zip zarnolith-1.01-win64-setup.exe; do
    [ -f "$BUILD/$package" ] || { echo "windows package: $package was not made" >&2; exit 1; }
    printf 'windows package: %s (%s bytes)\n' "$BUILD/$package" "$(stat -c %s "$BUILD/$package")"
  done
  if [ $test = 1 ]; then
    ctest --test-dir "$BUILD" -R '^packaging\.win64_' --no-tests=error --output-on-failure --timeout 900
  fi
}

# --- smoke -------------------------------------------------------------------------------------------
step_smoke() {
  local build=${1:-$ROOT/build-windows-smoke}
  step_toolchain
  step_wineprefix
  cmake -S "$ROOT/tests/windows-smoke" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" >/dev/null
  nice -n 10 cmake --build "$build" -j2
  ctest --test-dir "$build" --output-on-failure --timeout 300
}

# --- the shared desktop of screenshots and bench -----------------------------------------------------
# Runs this script's STEP again on a bare virtual X display of its own (every Wine process of the
# step on it), after checking the tools.
on_own_display() {
  local step=$1
  shift
  local tool
  for tool in Xvfb xdotool wine "$@"; do
    command -v "$tool" >/dev/null || { echo "windows $step: $tool missing" >&2; exit 1; }
  done
  exec bash "$ROOT/tests/support/with-desktop.sh" bare env ZARNOLITH_WINDOWS_DISPLAY=1 bash "$SELF" "${ARGS[@]}"
}

# On that display: the prefix wineprefix-bench (the program's fixed mutex and title meet no test
# there), made on first use; the program installed from the build into $app; everything ended
# and removed when the step ends.
installed_program() {
  export ZARNOLITH_WINEPREFIX=$CACHE/wineprefix-bench
  export WINEPREFIX=$ZARNOLITH_WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
  unset WINEPATH QT_QPA_PLATFORM
  run=(bash "$SELF" run)
  work=$(mktemp -d)
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
  "${run[@]}" cmd /c exit >/dev/null 2>&1 || true # makes the prefix on first use
  cmake --install "$BUILD" --prefix "$work/app" >/dev/null
  app=$work/app
}

# The visible window whose title matches, once it is there.
visible_window() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  echo "windows: no window \"$1\"" >&2
  return 1
}

# --- screenshots -------------------------------------------------------------------------------------
# The program from its installed folder with the default display font (Arial, 14 pt), driven by keys
# like a user: start values 1920 x 1080 in the dialog, then the new width 800 in the main window.
# Writes docs/screenshots/windows-startwerte.png and docs/screenshots/windows-hauptfenster.png.
step_screenshots() {
  local out=$ROOT/docs/screenshots
  if [ -z "${ZARNOLITH_WINDOWS_DISPLAY:-}" ]; then
    step_build zarnolith zarnolith_gui
    on_own_display screenshots import
  fi
  installed_program
  wineserver -k 2>/dev/null || true
  # The default display settings: no stored ones.
  "${run[@]}" reg delete 'HKCU\Software\Zarnolith' /f >/dev/null 2>&1 || true
  # Wine has no Arial, the default display font: as on Linux, its metric twin Liberation Sans
  # (fonts-liberation) stands in, where Wine would otherwise take a serif face.
  "${run[@]}" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null

  "${run[@]}" "$app/zarnolith.exe" >/dev/null 2>&1 &
  disown $! # ended with the prefix's other processes

  mkdir -p "$out"
  local dialog main
  dialog=$(visible_window '^Neue Startwerte')
  sleep 1
  xdotool windowfocus --sync "$dialog"
  # The width field has the focus with its text selected; Tab goes on to the height.
  xdotool type --delay 60 1920
  xdotool key Tab
  xdotool type --delay 60 1080
  sleep 0.5
  import -window "$dialog" "$out/windows-startwerte.png"
  xdotool key Return
  # The dialog gone, the main window drawn again with the start values.
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name '^Neue Startwerte' >/dev/null 2>&1 || break
    sleep 0.1
  done

  main=$(visible_window '^Zarnolith V1.01$')
  sleep 1
  xdotool windowfocus --sync "$main"
  # The new width has the focus with its text selected: overtype it.
  xdotool type --delay 60 800
  sleep 0.5
  import -window "$main" "$out/windows-hauptfenster.png"
  echo "windows screenshots: $out/windows-startwerte.png $out/windows-hauptfenster.png"
}

# --- bench -------------------------------------------------------------------------------------------
# Against baselines made with the same compiler and Qt (bench/windows/StartBench.cpp):
#   - a second start (an instance already running) against a program that only starts and ends,
#     target at most 3 x; and the second start must not load the toolkit: Wine's loaddll channel
#     lists every DLL it maps, and no Qt DLL may be among them;
#   - the first start until the start-values dialog is open against the floor, the smallest Qt
#     Widgets program until its window is open plus the program's own 15 ms of waits, target at
#     most 1.2 x; its peak working set at most 1.2 x the smallest program's.
# Exit code: 0 when every check held, 1 when one missed, 2 when something failed to run.
step_bench() {
  local runs=${1:-10}
  if [ -z "${ZARNOLITH_WINDOWS_DISPLAY:-}" ]; then
    step_build zarnolith zarnolith_gui bench_windows_start startup_baseline_window bench_trivial_program
    on_own_display bench
  fi
  installed_program
  # The baseline beside the program, so that it finds the same Qt.
  cp "$BUILD/bench/startup_baseline_window.exe" "$app/"

  # The toolkit stays unloaded in a second start.
  "${run[@]}" "$app/zarnolith.exe" >/dev/null 2>&1 &
  local first=$!
  disown "$first" # ended below with the prefix's other processes
  for _ in $(seq 1200); do
    xdotool search --onlyvisible --name '^Zarnolith V1.01$' >/dev/null 2>&1 && break
    kill -0 "$first" 2>/dev/null || break
    sleep 0.1
  done
  xdotool search --onlyvisible --name '^Zarnolith V1.01$' >/dev/null 2>&1 ||
    { echo "windows bench: the first instance did not come up" >&2; exit 2; }
  local rc=0
  WINEDEBUG=+loaddll "${run[@]}" "$app/zarnolith.exe" 2>"$work/loaddll.txt" >/dev/null || rc=$?
  wineserver -k 2>/dev/null || true
  local status=0 loaded qt
  loaded=$(grep -c 'Loaded L"' "$work/loaddll.txt" || true)
  qt=$(grep -i 'Loaded L".*\\Qt6[A-Za-z]*\.dll"' "$work/loaddll.txt" || true)
  if [ "$rc" -ne 0 ] || [ "$loaded" -eq 0 ]; then
    echo "windows bench: the second start ended with $rc, $loaded DLLs traced" >&2
    exit 2
  elif [ -n "$qt" ]; then
    echo "second start loads the toolkit: MISSED"
    echo "$qt"
    status=1
  else
    echo "second start: $loaded DLLs mapped, none of Qt's: met"
  fi

  local bench=0
  "${run[@]}" "$BUILD/bench/bench_windows_start.exe" "$app/zarnolith.exe" "$app/startup_baseline_window.exe" \
    "$BUILD/bench/bench_trivial_program.exe" "$runs" || bench=$?
  [ "$bench" -le 1 ] || exit 2
  exit $((status | bench))
}

ARGS=("$@")
[ $# -gt 0 ] || usage
step=$1
shift
case $step in
  toolchain | wineprefix | build | test | package | smoke | screenshots | bench | run) "step_$step" "$@" ;;
  -h | --help | help) usage ;;
  *) echo "windows: no step \"$step\"" >&2; usage ;;
esac
