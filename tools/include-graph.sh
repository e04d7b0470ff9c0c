#!/usr/bin/env bash
# Prints which part of src/ includes which: one line per arrow "from -> to (count)", where a part
# is a folder (core) or its ui/ subfolder. Arrows that run up the layers are marked "UP", and core
# files that include a Widgets or WebEngine header are listed at the end.
#   tools/include-graph.sh [--dot|--check] [tree]   (tree defaults to the checkout holding this script)
# --check prints only the faults and fails when there is one.
# Layers, bottom to top: platform, navigation, settings, the feature folders, app, main(); a
# folder's ui/ sits above its core.
set -euo pipefail
dot=0
check=0
case ${1:-} in
  --dot) dot=1 && shift ;;
  --check) check=1 && shift ;;
esac
tree=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$tree"

rank() {
  local folder=${1%/ui} base
  case $folder in
    platform) base=0 ;;
    navigation) base=2 ;;
    settings) base=4 ;;
    app) base=8 ;;
    main) base=10 ;;
    *) base=6 ;;
  esac
  [[ $1 == */ui ]] && base=$((base + 1))
  echo "$base"
}

part_of() { # src/radio/ui/X.cpp -> radio/ui ; src/radio/X.h -> radio
  local p=${1#src/}
  [[ $p == app/main.cpp ]] && { echo main; return; }
  local folder=${p%%/*} rest=${p#*/}
  if [[ $rest == ui/* ]]; then echo "$folder/ui"; else echo "$folder"; fi
}

edges=$(
  grep -rHo --include='*.h' --include='*.cpp' '^#include "[^"]*"' src | while IFS=: read -r file inc; do
    target=${inc#\#include \"}
    target=${target%\"}
    [[ -e src/$target ]] || continue
    from=$(part_of "$file")
    to=$(part_of "src/$target")
    [[ $from == "$to" ]] || echo "$from $to"
  done | sort | uniq -c | awk '{print $2, $3, $1}'
)

if ((dot)); then
  echo 'digraph includes {'
  echo '  rankdir=BT;'
  while read -r from to n; do
    [[ -n $from ]] || continue
    style=''
    (($(rank "$to") > $(rank "$from"))) && style=' color=red'
    echo "  \"$from\" -> \"$to\" [label=$n$style];"
  done <<<"$edges"
  echo '}'
  exit 0
fi

up=0
report=''
while read -r from to n; do
  [[ -n $from ]] || continue
  mark=''
  if (($(rank "$to") > $(rank "$from"))); then
    mark='   UP'
    up=$((up + 1))
  fi
  report+=$(printf '%-14s -> %-14s (%d)%s' "$from" "$to" "$n" "$mark")$'\n'
done <<<"$edges"
widgets=$(grep -rlE --include='*.h' --include='*.cpp' \
  '^#include <(QtWidgets|QtWebEngine[A-Za-z]*/|QWidget|QPushButton|QLabel|QWebEngine|QApplication|QMainWindow|QDialog)' src |
  grep -v '/ui/' || true)
if ((check)); then
  grep 'UP$' <<<"$report" || true
  [[ -z $widgets ]] || echo "core files including Widgets/WebEngine: $widgets"
  ((up == 0)) && [[ -z $widgets ]]
  exit
fi
printf '%s' "$report"
echo "arrows running up: $up"
echo "core files including Widgets/WebEngine: ${widgets:-none}"
