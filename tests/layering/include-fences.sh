#!/usr/bin/env bash
# Includes go one way. The outside libraries (platform/, their headers in services/) never reach
# into the caption library; and what the platform libraries share only among themselves, every
# header under platform/ (the text engine, the Cairo side of GDI+, ...), is included from
# platform/ alone. Tests may look inside on purpose and are not checked.
# Usage: include-fences.sh SOURCE_DIR. Prints each include that crosses a fence; fails if any does.
set -uo pipefail
cd "${1:?usage: include-fences.sh SOURCE_DIR}" || exit 2

include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]'
crossings=0
report() {  # $1: what the fence keeps apart; stdin: grep's matches
  local found
  found=$(cat)
  if [[ -n $found ]]; then
    printf '%s:\n%s\n' "$1" "$found"
    crossings=$((crossings + 1))
  fi
}

library_folders='(render|grid|open|paint|defaults|dialog|module|kelcaptioningui)/'
report "platform/ and services/ include the caption library" < <(grep -rnE "${include}${library_folders}" platform services)
# Within the caption library the drawing runs one way: render/ -> grid/, open/ -> paint/.
report "grid/, open/ or paint/ include render/" < <(grep -rnE "${include}render/" grid open paint)
report "paint/ includes grid/ or open/" < <(grep -rnE "${include}(grid|open)/" paint)
# The caption files library stands beside the caption library, below the tool: it reads files
# into the caption model and measures through an interface of its own.
report "the caption files library includes the caption library or the tool" < <(
  grep -rnE "${include}(${library_folders%/}|kelcaption|samples|tools)/" captionfiles include/kelcaptionfiles)

# Every header under platform/, named as an include path relative to platform/.
private_headers=$(cd platform && find . -name '*.h' | sed 's|^\./||; s|[.]|[.]|g' | paste -sd '|')
if [[ -z $private_headers ]]; then
  echo "no headers found under platform/: is $PWD the source tree?"
  exit 2
fi
outside=$(find . -mindepth 1 -maxdepth 1 -type d ! -name platform ! -name tests ! -name build ! -name '.*' | sort)
report "headers private to platform/ are included outside it" < <(
  grep -rnE "${include}(([^\">]*/)?platform/|(${private_headers})[\">])" \
       --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' ${outside})

if ((crossings > 0)); then exit 1; fi
echo "includes keep to their fences"
