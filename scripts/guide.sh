#!/usr/bin/env bash
# Makes the user's guide for Windows from docs/user-guide.md in the given
# folder: "Pendra Guide.html" and beside it the folder "Pendra Guide files"
# with its pictures and a jump page per window that Help opens at that
# window's section (a shell cannot open a file path with a #section).
# Needs cmark-gfm. Run by scripts/package.sh, and by the build, which puts
# the guide beside Pendra.exe.
# Usage: bash scripts/guide.sh <folder>
set -euo pipefail
out=$(realpath -m "$1")
cd "$(dirname "$0")/.."
GUIDE_DIR="Pendra Guide files"
fail() { echo "guide: $*" >&2; exit 1; }

mkdir -p "$out/$GUIDE_DIR"
body=$(cmark-gfm --unsafe -e table docs/user-guide.md |
  sed 's|src="pictures/|src="Pendra%20Guide%20files/|g' |
  awk '/^<h2>/ { t = $0; gsub(/<[^>]*>/, "", t); id = tolower(t); gsub(/[^a-z0-9]+/, "-", id)
                 gsub(/^-|-$/, "", id); sub(/^<h2>/, "<h2 id=\"" id "\">") } { print }')
{
  printf '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
  printf '<title>Pendra Guide</title>\n<style>\n%s\n</style>\n</head>\n<body>\n' "$(cat docs/guide.css)"
  printf '%s\n</body>\n</html>\n' "$body"
} >"$out/Pendra Guide.html"
for picture in $(grep -o 'pictures/[a-z0-9-]*\.png' docs/user-guide.md | sed 's|pictures/||' | sort -u); do
  cp "docs/pictures/$picture" "$out/$GUIDE_DIR/" || fail "docs/user-guide.md shows a missing picture: $picture"
done
# Jump pages: name of the page, then the section it opens.
while read -r page section; do
  grep -q "<h2 id=\"$section\">" "$out/Pendra Guide.html" || fail "the guide has no section $section"
  printf '<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>Pendra Guide</title>\n<meta http-equiv="refresh" content="0; url=../Pendra%%20Guide.html#%s">\n</head><body><a href="../Pendra%%20Guide.html#%s">Pendra Guide</a></body></html>\n' \
    "$section" "$section" >"$out/$GUIDE_DIR/$page.html"
done <<'EOF'
notebook the-notebook
EOF
