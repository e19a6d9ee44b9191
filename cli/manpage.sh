#!/bin/sh
# Writes the manual page ribbon.1 from the tool's own help text (cli/Help.cpp), so that the
# page says what `ribbon --help` says:   manpage.sh path/to/ribbon > ribbon.1
# Each heading of the help ("Usage:", "Commands:", an option group, "Exit status:") becomes a
# section; the text under it keeps its layout (no filling), escaped for roff.
set -eu
help="$("$1" --help)"
version="$("$1" --version)"
printf '%s\n' "$help" | awk -v version="$version" '
  function roff(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.'\'']/) s = "\\&" s  # a leading dot or quote would be a request
    return s
  }
  NR == 1 {
    printf ".TH RIBBON 1 \"\" \"%s\" \"User Commands\"\n.SH NAME\n%s\n", version, roff($0)
    next
  }
  /^[A-Z][^ ].*:$/ {
    heading = substr($0, 1, length($0) - 1)
    if (open) print ".fi"
    if (heading == "Usage") print ".SH SYNOPSIS"
    else if (heading == "Commands") print ".SH DESCRIPTION"
    else if (heading == "Exit status") print ".SH \"EXIT STATUS\""
    else {
      if (!options) print ".SH OPTIONS"
      options = 1
      printf ".SS \"%s\"\n", roff(heading)
    }
    print ".nf"
    open = 1
    next
  }
  open { print roff($0) }
  END {
    if (open) print ".fi"
    print ".SH \"SEE ALSO\""
    print ".BR ribbon\\-designer (1)"
  }'
