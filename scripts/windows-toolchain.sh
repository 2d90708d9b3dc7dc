#!/usr/bin/env bash
# Prepares everything the Windows build needs, once: Debian's MinGW-w64 cross compilers and Wine,
# Qt's qtbase cross-built from Debian's qt6-base source, and GoogleTest/GoogleMock from Debian's
# googletest source, both for x86_64-w64-mingw32 and kept in a cache outside any build tree:
#
#   ${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64/
#     qtbase-<source version>_gcc-<compiler version>_<hash of the configure flags>/
#     googletest-<source version>_gcc-<compiler version>_<hash of the configure flags>/
#     current.cmake   (read by cmake/toolchain-mingw64.cmake: where the two above are)
#
# A second run finds both and only rewrites current.cmake. Usage: bash scripts/windows-toolchain.sh
# Environment: JOBS (parallel jobs, default nproc), ZARNOLITH_CACHE (cache root, see above).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
JOBS=${JOBS:-$(nproc)}
NICE=(nice -n 19)
TRIPLE=x86_64-w64-mingw32

log() { printf '[windows-toolchain] %s\n' "$*" >&2; }
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
children_cpu() { awk -v hz="$(getconf CLK_TCK)" '{ print int(($16 + $17) / hz) }' "/proc/$$/stat"; }

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
# Written by scripts/windows-toolchain.sh; read by cmake/toolchain-mingw64.cmake.
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
