#!/usr/bin/env bash
# Draws the house's libraries and programs and what each links against, from CMake's --graphviz
# output of a configured build tree, so the picture follows the CMakeLists.txt files. Tests,
# benchmarks, fuzzers, examples and outside libraries are left out, and so is every arrow that
# another path already implies (Graphviz's tred).
#
#   apt-get install -y graphviz                       # dot and tred, for this script only
#   bash scripts/make-architecture-graph.sh [build]   # writes docs/architecture.svg
#   FORMAT=png OUT=/tmp/architecture.png bash scripts/make-architecture-graph.sh   # to look at
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
format=${FORMAT:-svg}
out=${OUT:-$root/docs/architecture.$format}
[ -f "$build/CMakeCache.txt" ] || { echo "not a configured build tree: $build" >&2; exit 2; }
for tool in dot tred cmake; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install -y graphviz)" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The house's targets: what the library folders' CMakeLists.txt files add, each with its folder.
folders=(core platform data control designer player desktop apps)
for folder in "${folders[@]}"; do
  [ -d "$root/$folder" ] || continue
  find "$root/$folder" -name CMakeLists.txt | sort | while read -r file; do
    dir=$(dirname "${file#"$root"/}")
    { grep -oE '^\s*add_(library|executable)\(\s*[A-Za-z0-9_]+' "$file" || true; } |
      sed -E "s#^\s*add_(library|executable)\(\s*([A-Za-z0-9_]+)#\2 $dir \1#"
  done
done | sort -u -k1,1 >"$work/targets"

(cd "$work" && cmake --graphviz="$work/cmake.dot" "$build" >/dev/null)

# CMake ends each edge line with "// FROM -> TO"; keep the edges between the house's targets.
awk -v layers="${folders[*]}" -v runs="$work/runs" '
  BEGIN {
    n = split(layers, order, " ")
    # One colour per floor, from the ground up.
    split("#e8e8e8 #d9e7f5 #dcefd9 #fbe6c8 #f4d9e8 #e3dcf2 #fff3b0 #f7d4cc", colour, " ")
    for (i = 1; i <= n; i++) fill[order[i]] = colour[i]
  }
  FILENAME == ARGV[1] { folder[$1] = $2; kind[$1] = $3; next }
  /->/ && /\/\// {
    split($0, parts, "// "); split(parts[2], ends, " -> ")
    if ((ends[1] in folder) && (ends[2] in folder) && ends[1] != ends[2]) edge[ends[1] " " ends[2]] = 1
  }
  END {
    print "digraph house {"
    print "  rankdir = TB; nodesep = 0.35; ranksep = 0.45;"
    print "  node [fontname = \"DejaVu Sans\", fontsize = 11, style = filled, color = \"#555555\"];"
    print "  edge [color = \"#666666\", arrowsize = 0.7];"
    for (t in folder) {
      top = folder[t]; sub(/\/.*/, "", top)
      shape = kind[t] == "executable" ? "ellipse" : "box"
      printf "  \"%s\" [label = \"%s\\n%s/\", shape = %s, fillcolor = \"%s\"];\n", t, t, folder[t], shape, fill[top]
    }
    print "  label = \"An arrow: links against (arrows implied by others left out); dashed: runs.\\n" \
      "Made by scripts/make-architecture-graph.sh from CMake\x27s target graph.\";"
    print "  fontname = \"DejaVu Sans\"; fontsize = 10;"
    for (e in edge) {
      split(e, ends, " ")
      # A program depending on a program (plotara on plotara-view) runs it; it does not link it.
      line = sprintf("  \"%s\" -> \"%s\"", ends[1], ends[2])
      if (kind[ends[2]] == "executable") print line " [style = dashed];" >runs
      else print line ";"
    }
    print "}"
  }' "$work/targets" "$work/cmake.dot" >"$work/house.dot"
touch "$work/runs"

# tred leaves out the links other paths imply; the runs go in after it, as they imply no link.
tred "$work/house.dot" | sed '$d' >"$work/reduced.dot"
cat "$work/runs" >>"$work/reduced.dot"
echo "}" >>"$work/reduced.dot"
# A resolution only for pixels: with SVG, dot would scale the drawing past its own view box.
resolution=()
[ "$format" = svg ] || resolution=(-Gdpi=96)
dot -T"$format" "${resolution[@]}" -o "$out" "$work/reduced.dot"
echo "wrote ${out#"$root"/}"
