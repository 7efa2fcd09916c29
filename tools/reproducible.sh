#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of the last commit twice and checks that the two
# builds made the same bytes. The second build differs from the first in
# what a builder's machine may: its folder (deeper, with a longer name), its
# time, the times of the checked-out files, time zone and locale. Neither
# build is given SOURCE_DATE_EPOCH: the build takes the commit's date. Both
# run under umask 022, as Debian's tools do: cpack writes its own umask into
# the archive (and warns when it isn't 022).
#
#   tools/reproducible.sh [--keep] [default|debian]...
#
#   default  the build as the README makes it (tests left out)
#   debian   as Debian's tools would build it: with debug information and
#            dpkg-buildflags' hardening flags
#   --keep   leave the builds behind (their folder is printed)
#
# Without a configuration both are checked. Compared are the .deb files and,
# as the package's program is stripped, the unstripped programs too: a
# debugger's information must come out the same as well. Where they differ it
# says which files, and for a program which sections, differ (diffoscope
# tells all when it is installed). Exit status 0 when every pair is the same.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
keep=false
configs=()
for arg in "$@"; do
    case "$arg" in
    --keep) keep=true ;;
    default | debian) configs+=("$arg") ;;
    *)
        echo "usage: $0 [--keep] [default|debian]..." >&2
        exit 2
        ;;
    esac
done
[ ${#configs[@]} -gt 0 ] || configs=(default debian)

scratch=$(mktemp -d)
cleanup() { $keep || rm -rf "$scratch"; }
trap cleanup EXIT

# A copy of the committed tree at $1: a clone when this is a git work tree
# (uncommitted changes are not part of what is checked), otherwise the files
# as they are, with their times.
copy_source() {
    mkdir -p "$(dirname "$1")"
    if git -C "$here" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git clone --quiet --no-hardlinks "$here" "$1"
    else
        mkdir "$1"
        tar -C "$here" --exclude='./build*' -cf - . | tar -C "$1" -xpf -
    fi
}

# build CONFIG SOURCE: configures, builds and packages into SOURCE/build,
# with the environment already set by the caller.
build() {
    local config=$1 source=$2 options=()
    (
        cd "$source"
        unset SOURCE_DATE_EPOCH CFLAGS CXXFLAGS CPPFLAGS LDFLAGS
        export CCACHE_DISABLE=1
        if [ "$config" = debian ]; then
            # As dpkg-buildpackage would, from the top of the source.
            CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
            LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
            export CXXFLAGS LDFLAGS
            options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
        fi
        cmake -S . -B build "${options[@]}"
        cmake --build build -j"$(nproc)" --target package
    ) >"$source.log" 2>&1 || {
        tail -30 "$source.log" >&2
        echo "FAIL: the $config build in $source failed (log: $source.log)" >&2
        return 1
    }
}

# Which sections of two programs of the same layout hold the differing
# bytes, and how many; when the layouts differ, the section tables.
compare_sections() {
    local a=$1 b=$2
    if ! diff <(readelf -SW "$a" | sed -n '/^ *\[/p') <(readelf -SW "$b" | sed -n '/^ *\[/p') >/dev/null; then
        echo "    section tables differ:"
        diff <(readelf -SW "$a" | sed -n '/^ *\[/p') <(readelf -SW "$b" | sed -n '/^ *\[/p') |
            sed 's/^/      /' | head -40
        return
    fi
    # Each section's name, file offset and size, in decimal for awk; cmp -l
    # numbers bytes from 1, sections count from 0.
    local sections name offset size
    sections=$(readelf -SW "$a" | sed -n 's/^ *\[ *[0-9]*\] //p' |
        while read -r name type _ offset size _; do
            # The empty first entry, and sections that take no room in the
            # file, hold none of its bytes.
            [ "$name" = NULL ] || [ "$type" = NOBITS ] || echo "$name $((16#$offset)) $((16#$size))"
        done)
    cmp -l "$a" "$b" | awk -v sections="$sections" '
        BEGIN {
            n = split(sections, line, "\n")
            for (i = 1; i <= n; i++) {
                split(line[i], f, " ")
                name[i] = f[1]; start[i] = f[2] + 0; size[i] = f[3] + 0
            }
        }
        {
            offset = $1 - 1; where = "(outside any section)"
            for (i = 1; i <= n; i++)
                if (offset >= start[i] && offset < start[i] + size[i]) {
                    where = name[i]; break
                }
            count[where]++
        }
        END { for (w in count) printf "    %-24s %d bytes differ\n", w, count[w] }'
    if ! diff <(readelf -n "$a") <(readelf -n "$b") >/dev/null; then
        echo "    build ids:"
        readelf -n "$a" "$b" | grep 'Build ID' | sed 's/^ */      /'
    fi
}

# Explains how two differing files differ.
explain() {
    local a=$1 b=$2
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$a" "$b" | head -200 || true
        return
    fi
    case "$a" in
    *.deb)
        local x=$scratch/explain/a y=$scratch/explain/b
        rm -rf "$scratch/explain"
        mkdir -p "$x" "$y"
        dpkg-deb -R "$a" "$x"
        dpkg-deb -R "$b" "$y"
        echo "  the archives' members:"
        diff <(ar tv "$a") <(ar tv "$b") | sed 's/^/    /' || true
        echo "  the files' names, owners, permissions and times:"
        diff <(dpkg-deb -c "$a") <(dpkg-deb -c "$b") | sed 's/^/    /' | head -40 || true
        echo "  files that differ:"
        (cd "$x" && find . -type f | sort) | while read -r f; do
            if [ ! -f "$y/$f" ]; then
                echo "    $f only in the first"
            elif ! cmp -s "$x/$f" "$y/$f"; then
                echo "    $f"
                if head -c4 "$x/$f" | grep -q ELF; then
                    compare_sections "$x/$f" "$y/$f"
                elif file -b --mime-encoding "$x/$f" 2>/dev/null | grep -qv binary; then
                    diff "$x/$f" "$y/$f" | head -20 | sed 's/^/      /'
                fi
            fi
        done
        ;;
    *)
        compare_sections "$a" "$b"
        ;;
    esac
}

# same NAME A B: says whether A and B are byte for byte the same.
same() {
    if cmp -s "$2" "$3"; then
        echo "  same: $1 ($(sha256sum <"$2" | cut -c1-64))"
        return 0
    fi
    echo "  DIFFERENT: $1"
    echo "    $(sha256sum "$2")"
    echo "    $(sha256sum "$3")"
    explain "$2" "$3"
    return 1
}

started=$SECONDS
ok=true
for config in "${configs[@]}"; do
    first=$scratch/$config/one/veltrano
    second=$scratch/$config/a-second-folder-further-down/for/the/other/build/veltrano
    copy_source "$first"
    (
        umask 022
        export TZ=UTC LC_ALL=C LANG=C
        build "$config" "$first"
    )
    # Later, and from files checked out later.
    sleep 2
    copy_source "$second"
    (
        umask 022
        export TZ=Pacific/Auckland LC_ALL=C.UTF-8 LANG=C.UTF-8
        build "$config" "$second"
    )
    echo "$config build:"
    debs=("$first"/build/veltrano_*.deb)
    name=$(basename "${debs[0]}")
    same "$name" "$first/build/$name" "$second/build/$name" || ok=false
    same "unstripped program" "$first/build/partie/veltrano" "$second/build/partie/veltrano" || ok=false
done
echo "checked in $((SECONDS - started)) s"
$keep && echo "builds kept in $scratch"
$ok
