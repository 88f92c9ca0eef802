#!/usr/bin/env bash
# Checks the Windows packages that scripts/package-windows.sh made in a build
# folder (default build/windows-i686):
# - the zip holds each program the build packs, and readme.txt, and nothing else;
# - each program imports only DLLs that come with Windows;
# - under Wine, in a throwaway prefix in the build folder, the installer
#   installs silently: the programs, the Start-menu entries (each pointing at
#   its installed program), the uninstaller and its registry key; each program,
#   started as its entry's target, answers --version;
# - the silent uninstaller removes all of it, and leaves settings files in the
#   Windows folder and captures alone, even a capture inside the install
#   folder (which then stays with only the capture in it).
# Needs wine (32-bit) and binutils-mingw-w64-i686. Takes about 20 seconds,
# half of it for making the Wine prefix.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows-i686}")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
installer=$build/qm71-$version-setup.exe
zip=$build/qm71-$version-win32.zip
programs=$build/windows-package/programs.nsh

# The DLLs a program may import: Windows' own (msvcrt.dll too, which MinGW's
# C runtime calls into). A MinGW, C++ or pthread runtime DLL would be missing on
# the user's PC.
allowed_dlls=(advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
    oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winmm.dll)

source scripts/wine-check.sh
for f in "$installer" "$zip" "$programs"; do
    [ -f "$f" ] || { echo "$f is missing: run scripts/package-windows.sh first" >&2; exit 1; }
done

# What the build packs: file and Start-menu name of each program.
declare -A menu_name
while read -r file name; do
    menu_name[$file]=$name
done < <(sed -n 's/^!insertmacro QM71_PROGRAM "\([^"]*\)" "\([^"]*\)".*/\1 \2/p' "$programs")
((${#menu_name[@]})) || { echo "$programs names no program" >&2; exit 1; }
echo "programs: ${!menu_name[*]}"

work=$build/package-check
rm -rf "$work"
mkdir -p "$work/zip"

# The zip.
(cd "$work/zip" && cmake -E tar xf "$zip") || fail "$zip does not unpack"
top=$work/zip/qm71-$version-win32
expected=$(printf '%s\n' readme.txt "${!menu_name[@]}" | sort)
actual=$(cd "$top" 2>/dev/null && find . -type f -printf '%P\n' | sort)
[ "$actual" = "$expected" ] ||
    fail "the zip holds \"$(echo $actual)\", not \"$(echo $expected)\" in qm71-$version-win32/"

# The imports.
for file in "${!menu_name[@]}"; do
    dlls=$(i686-w64-mingw32-objdump -p "$top/$file" | sed -n 's/^\s*DLL Name: //p' | tr A-Z a-z)
    [ -n "$dlls" ] || fail "$file: no imports found"
    for dll in $dlls; do
        printf '%s\n' "${allowed_dlls[@]}" | grep -qxF "$dll" || fail "$file imports $dll, which Windows does not have"
    done
done

# Installing and uninstalling under Wine, in a prefix of its own.
wine_prefix "$work/wine"
c=$WINEPREFIX/drive_c
dir=$c/Program\ Files/QM71
menu=$c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/QM71
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QM71'

# The user's files, there before the installation.
printf '[CONFIG]\r\nThreshold=77\r\n' >"$c/windows/qm71.ini"
echo capture >"$c/users/Public/Documents/00000001.bmp"

# word OFFSET SIZE FILE: the little-endian number of SIZE bytes at OFFSET.
word() { od -An -tu"$2" --endian=little -j"$1" -N"$2" "$3" | tr -d ' '; }

# The local path a shell link points at: LinkInfo's LocalBasePath (after the
# 76-byte header and the item id list, when there is one).
link_target() {
    local flags offset
    flags=$(word 20 4 "$1") offset=76
    ((flags & 1)) && offset=$((offset + 2 + $(word 76 2 "$1")))
    ((flags & 2)) || return 1
    offset=$((offset + $(word $((offset + 16)) 4 "$1")))
    tail -c +$((offset + 1)) "$1" | tr '\0' '\n' | head -n 1
}

# A value of the uninstall key, as reg shows it.
value() {
    wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"
}

install_package() {
    wine "$installer" /S || fail "the installer ended with status $?"
    for file in "${!menu_name[@]}"; do
        [ -f "$dir/$file" ] || fail "$file is not installed"
        link=$menu/${menu_name[$file]}.lnk
        if [ ! -f "$link" ]; then
            fail "no Start-menu entry ${menu_name[$file]}"
            continue
        fi
        target=$(link_target "$link")
        [ "$target" = "C:\\Program Files\\QM71\\$file" ] ||
            fail "${menu_name[$file]}.lnk points at \"$target\""
        answer=$(wine "$target" --version | tr -d '\r')
        [ "$answer" = "${file%.exe} $version" ] ||
            fail "$target --version said \"$answer\", not \"${file%.exe} $version\""
    done
    [ -f "$dir/uninstall.exe" ] || fail "no uninstall.exe"
    [ "$(value UninstallString)" = '"C:\Program Files\QM71\uninstall.exe"' ] ||
        fail "uninstall key: UninstallString is \"$(value UninstallString)\""
    [ "$(value DisplayVersion)" = "$version" ] ||
        fail "uninstall key: DisplayVersion is \"$(value DisplayVersion)\""
}

# The uninstaller runs from a copy in the temporary folder: wait for Wine's
# processes to end.
uninstall_package() {
    wine "$dir/uninstall.exe" /S || fail "the uninstaller ended with status $?"
    wineserver -w
    [ ! -e "$menu" ] || fail "the Start-menu folder stays: $(ls "$menu")"
    wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall key stays"
    [ "$(cat "$c/windows/qm71.ini")" = $'[CONFIG]\r\nThreshold=77\r' ] ||
        fail "qm71.ini in the Windows folder is gone or changed"
    [ -f "$c/users/Public/Documents/00000001.bmp" ] || fail "the capture in Documents is gone"
}

install_package
uninstall_package
[ ! -e "$dir" ] || fail "the install folder stays: $(ls "$dir")"

# Again, with a capture saved in the install folder.
install_package
echo capture >"$dir/00000001.bmp"
uninstall_package
[ "$(ls "$dir" 2>&1)" = 00000001.bmp ] ||
    fail "the install folder should hold only 00000001.bmp, not: $(ls "$dir" 2>&1)"

verdict "the Windows packages" "$work" "the Windows installer and zip are as they should be"
