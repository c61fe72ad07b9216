#!/usr/bin/env bash
# Writes a program's man page, compressed, from the program itself: help2man reads its --help
# and --version, the .h2m file adds what the help cannot say (exit statuses, files,
# environment), and for a program with commands (lcu) every command's own --help becomes the
# COMMANDS section. The programs run without a display and with "~" as home, so that the
# default paths in the help read as the user's, not the builder's.
# Usage: make-man-page.sh PROGRAM H2M OUTPUT RELEASE-DATE   (writes OUTPUT.gz)
set -euo pipefail
program=$1
h2m=$2
output=$3
release_date=$4

export HOME='~' XDG_CONFIG_HOME='~/.config'
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# The page carries the release's date, not the day it was built.
SOURCE_DATE_EPOCH=$(date -u -d "$release_date" +%s)
export SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The names of the commands in a help text's Subcommands part.
subcommands() { awk '/^Subcommands:$/ { inside = 1; next } /^[^ ]/ { inside = 0 } inside && /^  [^ ]/ { print $1 }'; }

# One command's help as roff: its usage line as the heading, its description, then its
# arguments (by name alone) and options as tagged paragraphs; a description may follow its
# option on the same line after a run of blanks, or on the lines below. --help, which every
# command has, is said once for all.
help_to_roff() {
  awk '
    function roff(text) {
      gsub(/\\/, "\\e", text)
      gsub(/-/, "\\-", text)
      if (text ~ /^[.\047]/) text = "\\&" text
      return text
    }
    /^Usage: / { usage = substr($0, 8); printf ".SS \"%s\"\n%s", roff(usage), description; next }
    usage == "" { if ($0 != "") description = description roff($0) "\n"; next }
    /^Positionals:$/ { inside = 1; positional = 1; next }
    /^Options:$/ { inside = 1; positional = 0; next }
    /^[^ ]/ || /^$/ { inside = 0; next }
    !inside || /^  -h,--help / { skipping = inside; next }
    /^  [^ ]/ {
      skipping = 0
      line = substr($0, 3)
      described = match(line, /   +/)
      term = described ? substr(line, 1, RSTART - 1) : line
      if (positional) term = $1
      print ".TP"
      print "\\fB" roff(term) "\\fR"
      if (described) print roff(substr(line, RSTART + RLENGTH))
      next
    }
    !skipping { sub(/^ +/, ""); print roff($0) }
  '
}

# A command of the COMMANDS section, followed by its own commands if it has any.
describe_command() {
  local help sub
  help=$("$program" "$@" --help)
  help_to_roff <<<"$help"
  for sub in $(subcommands <<<"$help"); do
    describe_command "$@" "$sub"
  done
}

# The COMMANDS section comes right after the options, before the sections of the .h2m file.
includes=()
if "$program" --help | grep -q '^Subcommands:$'; then
  {
    echo "[COMMANDS]"
    echo "Every command takes \\fB\\-\\-help\\fR, which shows its own usage."
    for command in $("$program" --help | subcommands); do
      describe_command "$command"
    done
  } >"$work/commands.h2m"
  includes+=(--include="$work/commands.h2m")
fi
includes+=(--include="$h2m")

mkdir -p "$(dirname "$output")"
# Only the first line of --version is the program's: lcu adds the libusb it runs with.
version=$("$program" --version | head -n 1 | cut -d' ' -f2)
help2man --no-info --section=1 --version-string="$version" "${includes[@]}" --output="$work/page.1" "$program"
gzip -9n <"$work/page.1" >"$output.gz"
