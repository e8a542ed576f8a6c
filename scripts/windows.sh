#!/usr/bin/env bash
# Builds Tarno Kit for 64-bit Windows on Debian with mingw-w64, runs the
# Windows test binaries under Wine, compares `tarno.exe check all` with the
# Linux build, and packs build-windows/tarno-kit-windows-x64.zip.
#
#   bash scripts/windows.sh            everything (installs missing packages)
#   SKIP_TESTS=1 bash scripts/windows.sh   build and zip only
#
# The Linux build in ./build is used for the JSON comparison; it is built
# (tarno only) when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=build-windows
deps=$out/deps
jobs=${JOBS:-$(nproc)}

pkgs=(g++-mingw-w64-x86-64-posix wine wine64 googletest libcli11-dev nlohmann-json3-dev cmake ninja-build ccache zip locales)
missing=()
for p in "${pkgs[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

# The header-only libraries come from the Debian packages; /usr/include itself
# cannot be on a cross compiler's path, so each gets an include folder of its
# own and a small package file.
mkdir -p "$deps/include" "$deps/lib/cmake/nlohmann_json" "$deps/lib/cmake/CLI11"
ln -sfn /usr/include/nlohmann "$deps/include/nlohmann"
ln -sfn /usr/include/CLI "$deps/include/CLI"
cat >"$deps/lib/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" <<'CFG'
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}/../../../include")
CFG
cat >"$deps/lib/cmake/CLI11/CLI11Config.cmake" <<'CFG'
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}/../../../include")
CFG

# GoogleTest is not packaged for mingw: build Debian's sources with it once.
if [[ ! -f $deps/lib/cmake/GTest/GTestConfig.cmake ]]; then
  cmake -S /usr/src/googletest -B "$out/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$root/$deps" \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DBUILD_GMOCK=ON -Dgtest_force_shared_crt=OFF >/dev/null
  cmake --build "$out/googletest" -j"$jobs"
  cmake --install "$out/googletest" >/dev/null
fi

# The kit: the programs of the zip and the test binaries of the areas that
# run on Windows. No add-in library (it is loaded with dlopen) and no Qt.
kit=$out/kit
cmake -S . -B "$kit" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNO_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DTARNO_BUILD_TOOLKIT=OFF -DTARNO_BUILD_GUI=OFF -DTARNO_BUILD_BENCH=OFF >/dev/null
programs=(tarno TarnoSetUp TarnoUnSetUp TarnoOption)
# The test binaries run under Wine.
areas=(platform host files project companion checks codegen patterns controls)
targets=("${programs[@]}")
[[ -n ${SKIP_TESTS:-} ]] || targets+=("${areas[@]/#/test_}")
cmake --build "$kit" -j"$jobs" --target "${targets[@]}"

# Statically linked: nothing but Windows' own DLLs may be imported.
for p in "${programs[@]}"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$kit/$p.exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z')
  for dll in $dlls; do
    case $dll in
      kernel32.dll | msvcrt.dll | shell32.dll | user32.dll | advapi32.dll) ;;
      *) echo "windows.sh: $p.exe needs $dll" >&2; exit 1 ;;
    esac
  done
done

stage=$out/stage/tarno-kit-windows-x64
rm -rf "$out/stage" && mkdir -p "$stage"
for p in "${programs[@]}"; do cp "$kit/$p.exe" "$stage/"; done
x86_64-w64-mingw32-strip "$stage"/*.exe
sed 's/$/\r/' docs/windows-readme.txt >"$stage/README.txt"
cp -r examples "$stage/examples"
rm -f "$out/tarno-kit-windows-x64.zip"
(cd "$out/stage" && zip -qr ../tarno-kit-windows-x64.zip tarno-kit-windows-x64)
echo "windows.sh: built $out/tarno-kit-windows-x64.zip"
[[ -z ${SKIP_TESTS:-} ]] || exit 0

# Wine: a fresh prefix under a temporary folder, quiet, with a Japanese
# system code page (CP932, as the kit's default elsewhere). One wineserver
# for the whole run.
wine_tmp=$(mktemp -d /tmp/tarno-wine-XXXXXX)
export WINEPREFIX=$wine_tmp/prefix WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$wine_tmp"' EXIT
# Wine takes the ANSI code page from the locale and converts the arguments
# with it, so the Linux locale ja_JP.UTF-8 must exist (C.UTF-8 gives CP1252
# and a Japanese file name arrives as "???"). A fresh Debian has none: it is
# made from the locales package's sources, system-wide as root, else in the
# temporary folder.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  if ! localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 2>/dev/null; then
    mkdir -p "$wine_tmp/locale"
    localedef -i ja_JP -f UTF-8 "$wine_tmp/locale/ja_JP.UTF-8"
    export LOCPATH=$wine_tmp/locale
  fi
fi
win() { LC_ALL=ja_JP.UTF-8 wine "$@"; }
wineserver -p  # one server, kept for the whole run
win wineboot -i >/dev/null 2>&1 || true
for p in "${programs[@]}"; do
  win "$stage/$p.exe" --help >/dev/null
done
win "$stage/tarno.exe" --version

# Cases left out under Wine, each for its reason (the stand-ins' own tests
# keep them on Linux):
# - LoaderTest.ProjectSaveAsElsewhereAndRenamedModules: the .vbp names
#   "codigo\Main.bas" for the folder "CODIGO"; a case-sensitive system finds
#   and then writes the disk's spelling, Windows opens and keeps the written one.
# - HostileInputTest.EachCaseGivesItsDocumentedResultAndWritesNothing: one
#   case names the POSIX device /dev/zero, which Windows reports as missing.
# - SetUpTest.SetUpTwiceLeavesOneEntryZeroAndKeepsEveryOtherLine and
#   SetUpTest.UninstallRemovesOnlyTheEntryWhateverItsValueAndDeletesTheSettingsFile:
#   Wine's WritePrivateProfileStringA writes the whole file anew (blank lines
#   dropped, "key = value" respaced); Windows and the stand-ins change only
#   the entry's line (the same quirk is listed in the profile comparison).
# - SetUpTest.EntryThatCannotBeWrittenOrRemovedIsReportedAndTheCommandStillStarts:
#   removing the entry when the Windows directory is a file: Windows'
#   function reports a failure, the stand-in finds nothing to remove.
# - SetUpTest.UnknownWindowsDirectoryWritesNothingInTheCurrentFolder: Windows
#   always knows its directory (the test takes HOME away, a POSIX idea).
posix_only_cases=LoaderTest.ProjectSaveAsElsewhereAndRenamedModules:HostileInputTest.EachCaseGivesItsDocumentedResultAndWritesNothing
posix_only_cases+=:SetUpTest.SetUpTwiceLeavesOneEntryZeroAndKeepsEveryOtherLine
posix_only_cases+=:SetUpTest.UninstallRemovesOnlyTheEntryWhateverItsValueAndDeletesTheSettingsFile
posix_only_cases+=:SetUpTest.EntryThatCannotBeWrittenOrRemovedIsReportedAndTheCommandStillStarts
posix_only_cases+=:SetUpTest.UnknownWindowsDirectoryWritesNothingInTheCurrentFolder
failed=0
for a in "${areas[@]}"; do
  echo "== test_$a (Wine)"
  if ! (cd "$kit/tests" && win "./test_$a.exe" --gtest_brief=1 --gtest_filter="-$posix_only_cases" 2>&1 |
        tr -d '\r' | tail -n 30); then
    failed=1
  fi
done

# The same check on the same project gives the same JSON, byte for byte.
if [[ ! -x build/tarno ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNO_WERROR=ON >/dev/null
  cmake --build build -j"$jobs" --target tarno
fi
compare() {
  local dir=$1 project=$2
  shift 2
  local linux windows
  linux=$(cd "$dir" && "$root/build/tarno" check all "$project" --format json "$@"; echo "exit $?")
  windows=$(cd "$dir" && win "$root/$kit/tarno.exe" check all "$project" --format json "$@"; echo "exit $?")
  if [[ $linux == "$windows" ]]; then
    echo "same JSON: $project $* ($(printf %s "$linux" | wc -c) bytes)"
  else
    echo "JSON differs: $project $*" >&2
    diff <(printf '%s\n' "$linux") <(printf '%s\n' "$windows") | head -20 >&2
    failed=1
  fi
}
# The corpus lies beside the checkout (a worktree's checkout is one level deeper).
corpus=$(cd .. && pwd)/shared/corpus
[[ -d $corpus ]] || corpus=$(cd ../.. && pwd)/shared/corpus
compare examples Sample.vbp
compare "$corpus/dtinth__UCN-BMSE/BMSE" BMSE.vbp
# Japanese project and file names: the argument arrives in the ANSI code page.
compare "$corpus/akinomyoga__vb6programs/src" 回転体.vbp
compare "$corpus/EduardoVB__SSTabEx/control-source" TabExCtl.vbp --encoding cp1252
exit "$failed"
