#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the package will
# hold: the three programs and their data files and nothing else (no test or
# benchmark), a desktop entry and AppStream metadata that validate, manual
# pages that render and name every command and option of vetral-cli with
# the exit statuses its help gives, and programs that run from the prefix
# without the build tree.
# Usage: check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
export LC_ALL=C.UTF-8

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

app_id=ru.vetral.programmer
expected=(
  bin/vetral
  bin/vetral-cli
  bin/vetral-station-sim
  share/applications/$app_id.desktop
  share/doc/vetral/README.md.gz
  share/doc/vetral/changelog.Debian.gz
  share/doc/vetral/copyright
  share/icons/hicolor/48x48/apps/vetral.png
  share/icons/hicolor/scalable/apps/vetral.svg
  share/lintian/overrides/vetral
  share/man/man1/vetral-cli.1.gz
  share/man/man1/vetral-station-sim.1.gz
  share/man/man1/vetral.1.gz
  share/metainfo/$app_id.metainfo.xml
)
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort); then
  fail "installed files differ from the package's list (< expected, > installed)"
fi

desktop=$prefix/share/applications/$app_id.desktop
if ! out=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $out ]]; then
  fail "desktop entry: $out"
fi
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x $prefix/bin/$exec_program ]] || fail "desktop entry starts '$exec_program', which is not installed in bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no scalable icon '$icon'"
png=$prefix/share/icons/hicolor/48x48/apps/$icon.png
# Width and height are the two big-endian words after the PNG signature and IHDR header.
size=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | tr -s ' ' | sed 's/^ //')
[[ $size == "0 0 0 48 0 0 0 48" ]] || fail "icon $png is not 48x48 (IHDR size bytes: $size)"
grep -q '^Name\[ru\]=' "$desktop" && grep -q '^Comment\[ru\]=' "$desktop" || fail "desktop entry has no Russian name or comment"

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
  fail "AppStream metadata: $out"
fi
grep -q "<id>$app_id</id>" "$metainfo" || fail "AppStream id is not $app_id"
for element in summary p; do
  grep -q "<$element xml:lang=\"ru\">" "$metainfo" || fail "AppStream metadata has no Russian <$element>"
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "AppStream metadata does not launch $app_id.desktop"

for page in "$prefix"/share/man/man1/*.1.gz; do
  if ! MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$page" >"$tmp/page" 2>"$tmp/warnings" || [[ -s $tmp/warnings ]]; then
    fail "$(basename "$page") does not render: $(cat "$tmp/warnings")"
  fi
  [[ -s $tmp/page ]] || fail "$(basename "$page") renders empty"
  zgrep -q "\"vetral $version\"" "$page" || fail "$(basename "$page") does not carry version $version"
done

for program in vetral-cli vetral-station-sim; do
  if readelf -d "$prefix/bin/$program" | grep -Eq 'RPATH|RUNPATH'; then
    fail "$program keeps a library search path: $(readelf -d "$prefix/bin/$program" | grep -E 'RPATH|RUNPATH')"
  fi
done

# The programs run from the prefix; they touch no port for these options.
export XDG_CONFIG_HOME=$tmp/config HOME=$tmp/home
cli=$prefix/bin/vetral-cli
[[ $("$cli" --version) == "vetral-cli $version" ]] || fail "vetral-cli --version prints '$("$cli" --version)'"
# The window's program answers these without a display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[[ $("${nodisplay[@]}" "$prefix/bin/vetral" --version 2>&1) == "vetral $version" ]] ||
  fail "vetral --version without a display prints '$("${nodisplay[@]}" "$prefix/bin/vetral" --version 2>&1)'"
"${nodisplay[@]}" "$prefix/bin/vetral" --help 2>&1 | grep -q -- '--version' ||
  fail "vetral --help without a display prints '$("${nodisplay[@]}" "$prefix/bin/vetral" --help 2>&1)'"
# A Debian revision in the changelog's version, and a date the build does not set.
changelog=$(zcat "$prefix/share/doc/vetral/changelog.Debian.gz")
grep -q "^vetral ($version-[0-9]\+) " <<<"$changelog" || fail "changelog has no version $version-<revision>: $changelog"
grep -q "^ -- .*  $(sed -n 's/^ -- .*  //p' "$(dirname "$0")/../../packaging/changelog.in")\$" <<<"$changelog" ||
  fail "changelog is not dated as packaging/changelog.in: $changelog"
[[ $("$prefix/bin/vetral-station-sim" --version) == "vetral-station-sim $version" ]] ||
  fail "vetral-station-sim --version prints '$("$prefix/bin/vetral-station-sim" --version)'"

# Every command and option the tool knows is in its manual page.
manual=$(zcat "$prefix/share/man/man1/vetral-cli.1.gz" | sed 's/\\-/-/g')
commands=$("$cli" --help | sed -n '/^Команды:/,/^$/p' | sed -n 's/^  \([a-z]\+\) .*/\1/p')
[[ -n $commands ]] || fail "vetral-cli --help lists no command"
for command in $commands; do
  grep -A1 '^\.TP' <<<"$manual" | grep -q "^\.BI\? $command\b" || fail "vetral-cli(1) has no paragraph for '$command'"
  for option in $("$cli" "$command" --help | grep -o -- '--[a-z][a-z-]*' | grep -v -- '--help' | sort -u); do
    grep -q -- "$option" <<<"$manual" || fail "vetral-cli(1) does not describe $command $option"
  done
done

# Every command's help gives the exit statuses its paragraph of the manual
# gives, and the commands a signal stops (status 5) are the same in the
# help, the manual and the README.
statuses() { { grep -o '\b[0-5]\b' || true; } | sort -u | tr '\n' ' '; }
sorted_words() { tr ' ,' '\n\n' | { grep -x '[a-z]\+' || true; } | sort -u | tr '\n' ' '; }
stopped=""
for command in $commands; do
  in_help=$("$cli" "$command" --help | sed -n '/Код выхода/,$p' | sed '1s/.*Код выхода//' | statuses)
  # The command's paragraph: from its .TP to the next one outside .RS ... .RE.
  paragraph=$(awk -v c="$command" '
    /^\.RS/ { depth++ } /^\.RE/ { depth-- }
    /^\.SH/ { inside = 0 }
    /^\.TP/ && depth == 0 { getline; inside = ($0 ~ ("^\\.BI? " c "( |\\\\|$)")) }
    inside' <<<"$manual")
  in_manual=$(sed -n '/Exit status/,$p' <<<"$paragraph" | sed '1s/.*Exit status//' | statuses)
  [[ -n $in_help && $in_help == "$in_manual" ]] ||
    fail "vetral-cli $command: exit statuses '$in_help' in its --help, '$in_manual' in vetral-cli(1)"
  [[ " $in_help" == *" 5 "* ]] && stopped+="$command "
done
stopped=$(sorted_words <<<"$stopped")
# Every command is in the synopsis, and every status a command's help gives
# has its entry in EXIT STATUS.
synopsis=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH/p' <<<"$manual")
exit_section=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH [^E]/p' <<<"$manual")
for command in $commands; do
  grep -q "^\.B vetral-cli $command\b" <<<"$synopsis" || fail "vetral-cli(1) SYNOPSIS does not name '$command'"
  for status in $("$cli" "$command" --help | sed -n '/Код выхода/,$p' | sed '1s/.*Код выхода//' | statuses); do
    grep -qx "\.B $status" <<<"$exit_section" || fail "vetral-cli(1) EXIT STATUS has no entry for $status ($command)"
  done
done
overview=$("$cli" --help | sed -n 's/^Код выхода 5 (\([^)]*\)).*/\1/p' | sorted_words)
[[ $overview == "$stopped" ]] || fail "vetral-cli --help names '$overview' for status 5, the commands' help '$stopped'"
in_manual=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH/p' <<<"$manual" | sed -n '/^\.B 5$/,/SIGINT/{/SIGINT/!p}' |
  sed 's/^\.[A-Z]* *//' |
  tr -d '():' | sorted_words)
[[ $in_manual == "$stopped" ]] || fail "vetral-cli(1) names '$in_manual' for status 5, the commands' help '$stopped'"
in_readme=$(zcat "$prefix/share/doc/vetral/README.md.gz" | sed -n 's/^Stopping (\([^)]*\)).*/\1/p' | tr -d '`' | sorted_words)
[[ $in_readme == "$stopped" ]] || fail "README names '$in_readme' for stopping, the commands' help '$stopped'"

exit $((failures > 0))
