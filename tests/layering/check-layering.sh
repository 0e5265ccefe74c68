#!/usr/bin/env bash
# Fails when a C++ file includes a header its folder may not use, by the rules
# of rules.txt beside this script (one line a folder of the targets table in
# docs/ARCHITECTURE.md; every folder of that table must have a rule).
# Usage: check-layering.sh SOURCE_DIR QT_WIDGETS_INCLUDE_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=${1:?source folder}
widgets=${2:?QtWidgets include folder}
rules_file=${RULES:-$here/rules.txt}
cd "$src" || exit 2

failures=0
complain() {
  printf '%s\n' "$*"
  failures=$((failures + 1))
}

# ---- The rules --------------------------------------------------------------
declare -A allowed tolerated
folders=()
while read -r first rest; do
  [[ -z $first || $first == \#* ]] && continue
  if [[ $first == tolerate ]]; then
    tolerated[$rest]=1
  else
    folders+=("$first")
    allowed[$first]=" $first $rest "
  fi
done <"$rules_file"

# The rule of a file: the longest folder of the list that holds it.
rule_of() {
  local best="" f
  for f in "${folders[@]}"; do
    [[ $1 == "$f"/* && ${#f} -gt ${#best} ]] && best=$f
  done
  printf '%s' "$best"
}

# ---- Every folder of the targets table has a rule ---------------------------
while read -r folder; do
  folder=${folder%/}
  covered=0
  for f in "${folders[@]}"; do
    [[ $f == "$folder" || $folder == "$f"/* || $f == "$folder"/* ]] && covered=1
  done
  [[ $covered == 1 ]] || complain "docs/ARCHITECTURE.md: the folder $folder/ of the targets table has no rule in $rules_file"
done < <(grep -E '^\| `' docs/ARCHITECTURE.md | sed -nE 's/^\| [^|]*\(`([^`]+)`\).*/\1/p')

# ---- Qt modules whose headers the rules name --------------------------------
qt=$(dirname "$widgets")
declare -A module_of
for m in Widgets:QtWidgets Widgets:QtOpenGLWidgets PrintSupport:QtPrintSupport \
  Multimedia:QtMultimedia Multimedia:QtMultimediaWidgets Sql:QtSql Charts:QtCharts; do
  [ -d "$qt/${m#*:}" ] || continue
  for h in $(ls "$qt/${m#*:}"); do module_of[$h]=${m%%:*}; done
  module_of[${m#*:}]=${m%%:*}
done
[ -n "${module_of[QWidget]:-}" ] || { echo "no Qt Widgets headers in $widgets"; exit 2; }

# ---- The includes -----------------------------------------------------------
# The product's top folders whole (a new subfolder needs its rule), the test
# kits' folders as named.
roots=()
for f in "${folders[@]}"; do
  r=${f%%/*}
  [[ $r == tests ]] && r=$f
  [[ " ${roots[*]-} " == *" $r "* ]] || roots+=("$r")
done
declare -A unruled
while IFS=: read -r file line kind name; do
  rule=$(rule_of "$file")
  if [[ -z $rule ]]; then
    [[ -n ${unruled[$file]:-} ]] || complain "$file: its folder has no rule in $rules_file"
    unruled[$file]=1
    continue
  fi
  if [[ -n ${tolerated["$file $name"]:-} ]]; then
    echo "tolerated: $file:$line includes $name"
    tolerated["$file $name"]=seen
    continue
  fi
  if [[ $kind == '"' ]]; then
    top=${name%%/*}
    if [[ $name != */* ]]; then
      [[ $name == ui_*.h || $name == *.moc ]] || complain "$file:$line: \"$name\" names no folder"
      continue
    fi
    [ -d "$top" ] || continue # not a header of the tree
    ok=0
    for a in ${allowed[$rule]}; do
      [[ $a != Qt:* && ($name == "$a"/*) ]] && ok=1
    done
    [[ $ok == 1 ]] || complain "$file:$line includes \"$name\": $rule/ may include only $(echo ${allowed[$rule]})"
  else
    module=${module_of[${name%%/*}]:-${module_of[$name]:-}}
    [[ -z $module || ${allowed[$rule]} == *" Qt:$module "* ]] ||
      complain "$file:$line includes <$name> of Qt $module: $rule/ may include only $(echo ${allowed[$rule]})"
  fi
done < <(
  for t in "${roots[@]}"; do
    [ -d "$t" ] && grep -rn --include='*.cpp' --include='*.h' -E '^\s*#\s*include\s*[<"][^>"]+[>"]' "$t"
  done | sed -E 's/^([^:]+:[0-9]+):\s*#\s*include\s*([<"])([^>"]+)[>"].*/\1:\2:\3/'
)

for t in "${!tolerated[@]}"; do
  [[ ${tolerated[$t]} == seen ]] || echo "mended: $t (remove its tolerate line from $rules_file)"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) break the layering rules"
  exit 1
fi
echo "layering: every folder keeps the rules of $(basename "$rules_file")"
