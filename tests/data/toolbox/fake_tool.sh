#!/bin/sh
printf '%s' @TOOL@ >> @LOG@
for a in "$@"; do printf '|%s' "$a" >> @LOG@; done
echo >> @LOG@
# GLib's conversion of its UTF-8 text to the locale's character set.
garble() {
  case "${LC_ALL:-${LC_CTYPE:-$LANG}}" in
  *[Uu][Tt][Ff]-8*|*[Uu][Tt][Ff]8*) cat ;;
  *) perl -CS -pe 's/[^\x00-\x7f]/?/g' ;;
  esac
}
case "@TOOL@ $*" in
@RULES@esac
exit 0
