# Source this: real printing for the Windows tests. A CUPS PDF printer made
# the default printer, the tests print on it and announce what each printout
# must hold (tests/win/print_check_win.h), then the PDFs are read back with
# pdftotext and matched with the announcements.
#
#   pendra_print_setup <folder>   start cupsd when needed, add the printer,
#                                 export PENDRA_PRINT_CHECK and friends; fails
#                                 with a reason when printing cannot run
#   pendra_print_check            wait for the jobs, match the PDFs; sets
#                                 PRINT_PASSED and PRINT_FAILED
#   pendra_print_stop             stop the cupsd that setup started
PENDRA_PRINT_QUEUE_NAME=PendraPDF
PENDRA_PDF_OUT=/var/spool/pendra-pdf

# lpstat -r exits 0 either way; its words tell.
_pendra_cupsd_running() {
  lpstat -r 2>/dev/null | grep -q 'scheduler is running'
}

pendra_print_setup() {
  local folder=$1
  PENDRA_PRINT_REASON=
  if [ "$(id -u)" -ne 0 ]; then PENDRA_PRINT_REASON="not root: cannot set up a printer"; return 1; fi
  local tool i
  for tool in cupsd lpadmin lpstat pdftotext; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      PENDRA_PRINT_REASON="$tool is not installed"; return 1
    fi
  done
  if [ ! -x /usr/lib/cups/backend/cups-pdf ]; then PENDRA_PRINT_REASON="cups-pdf is not installed"; return 1; fi
  if ! _pendra_cupsd_running; then
    cupsd -f >/dev/null 2>&1 &
    PENDRA_CUPSD_PID=$!
    for i in $(seq 1 50); do _pendra_cupsd_running && break; sleep 0.2; done
    if ! _pendra_cupsd_running; then PENDRA_PRINT_REASON="cupsd does not start"; return 1; fi
  fi
  # A printer of its own: its PDFs go to one folder, each named by its job
  # number, so printouts with the same (empty) title do not replace each other.
  mkdir -p "$PENDRA_PDF_OUT"
  find "$PENDRA_PDF_OUT" -name '*.pdf' -mmin +60 -delete 2>/dev/null || true
  printf 'Out %s\nLabel 1\nGrp lpadmin\nDecodeHexStrings 1\n' "$PENDRA_PDF_OUT" \
    >/etc/cups/cups-pdf-pendra.conf
  # A cupsd that has just started may still refuse a connection or two.
  local added=
  for i in $(seq 1 20); do
    if lpadmin -p "$PENDRA_PRINT_QUEUE_NAME" -v cups-pdf:/pendra -E >/dev/null 2>&1 &&
       lpadmin -d "$PENDRA_PRINT_QUEUE_NAME" >/dev/null 2>&1; then
      added=1; break
    fi
    sleep 0.5
  done
  if [ -z "$added" ]; then PENDRA_PRINT_REASON="lpadmin cannot add the PDF printer"; return 1; fi
  rm -rf "$folder"
  mkdir -p "$folder"
  PENDRA_PRINT_STAMP="$folder/.started"
  touch "$PENDRA_PRINT_STAMP"
  export PENDRA_PRINT_CHECK=$folder
  export PENDRA_PRINT_QUEUE=$PENDRA_PRINT_QUEUE_NAME
  export PENDRA_PRINT_TOKEN="$$x$(date +%s)"
}

# Blanks, line ends and page breaks as single blanks, trimmed.
_pendra_print_normal() {
  tr '\r\n\t\f\v' '     ' | tr -s ' ' | sed 's/^ //; s/ $//'
}

pendra_print_check() {
  PRINT_PASSED=0
  PRINT_FAILED=0
  local folder=$PENDRA_PRINT_CHECK
  local expected=("$folder"/*.expected)
  if [ ! -e "${expected[0]}" ]; then
    echo "print check: no test announced a printout"
    PRINT_FAILED=1
    return 0
  fi
  # The jobs are done when the printer's queue is empty.
  local i
  for i in $(seq 1 120); do
    [ -z "$(lpstat -o "$PENDRA_PRINT_QUEUE_NAME" 2>/dev/null)" ] && break
    sleep 1
  done
  sleep 1
  local pdf texts=()
  mkdir -p "$folder/pdf-text"
  for pdf in $(find "$PENDRA_PDF_OUT" -name '*.pdf' -newer "$PENDRA_PRINT_STAMP" 2>/dev/null); do
    local out="$folder/pdf-text/$(basename "$pdf" .pdf).txt"
    { pdftotext -layout "$pdf" - 2>/dev/null || true; } | _pendra_print_normal >"$out"
    texts+=("$out")
  done
  local want name found
  for want in "${expected[@]}"; do
    name=$(basename "$want" .expected)
    _pendra_print_normal <"$want" >"$want.normal"
    found=
    for out in "${texts[@]}"; do
      if cmp -s "$want.normal" "$out"; then found=$out; break; fi
    done
    if [ -n "$found" ]; then
      PRINT_PASSED=$((PRINT_PASSED + 1))
      echo "print check $name: ok ($(basename "$found" .txt).pdf)"
    else
      PRINT_FAILED=$((PRINT_FAILED + 1))
      echo "print check $name: FAILED, no PDF holds: $(head -c 200 "$want.normal")"
      for out in "${texts[@]}"; do
        if grep -qF "$PENDRA_PRINT_TOKEN" "$out"; then echo "  a PDF of this run holds: $(head -c 200 "$out")"; fi
      done
    fi
  done
}

pendra_print_stop() {
  if [ -n "${PENDRA_CUPSD_PID:-}" ]; then
    kill "$PENDRA_CUPSD_PID" 2>/dev/null || true
    wait "$PENDRA_CUPSD_PID" 2>/dev/null || true
    unset PENDRA_CUPSD_PID
  fi
}
