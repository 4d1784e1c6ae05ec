#!/usr/bin/env bash
# Printer port of the test prefix: Wine's PostScript arrives on standard input and
# becomes a PDF in the given folder (newest job: last.pdf; each job also numbered).
# Every step is checked: a job that cannot be kept whole (the folder's disk full, the
# PostScript cut short, Ghostscript failing) leaves neither its PDF nor its PostScript,
# says why on standard error and in job-N.failed when it can, and the port exits
# non-zero, which fails the program's EndDoc.
set -u
out=${1:?folder}
mkdir -p "$out" || { echo "print-to-pdf: cannot make the folder $out" >&2; exit 1; }
# The job's number: one past the highest in the folder.
n=0
for f in "$out"/job-*; do
  [ -e "$f" ] || continue
  k=${f##*/job-}; k=${k%%.*}
  case $k in '' | *[!0-9]*) continue ;; esac
  [ "$k" -gt "$n" ] && n=$k
done
n=$((n + 1))
ps="$out/job-$n.ps"
pdf="$out/job-$n.pdf"
# Ghostscript's temporary files go to a folder of the job's, which goes with it: a run
# keeps everything it makes inside its build folder, and a stopped job leaves none.
tmp="$out/job-$n.tmp"
fail() {
  echo "print-to-pdf: job $n: $*" >&2
  rm -rf "$ps" "$pdf" "$pdf.part" "$out/last.pdf.tmp" "$tmp"
  echo "$*" >"$out/job-$n.failed" 2>/dev/null || true
  exit 1
}
# Stopped (Ctrl-C, or the print stopped), the port leaves none of the job's files. Its
# steps run in the background so that the signal is taken at once, not when they end.
step=
trap '[ -z "$step" ] || kill "$step" 2>/dev/null; wait; rm -rf "$ps" "$out/job-$n.log" "$pdf.part" "$tmp"; exit 130' INT TERM
cat <&0 >"$ps" &
step=$!
wait "$step" || fail "the PostScript could not be written to $ps (is the disk full?)"
# Wine's PostScript ends with %%EOF: a job cut short (its spool disk full) has none.
[ "$(tail -c 64 "$ps" | tr -d '\r' | grep -v '^ *$' | tail -n 1)" = "%%EOF" ] ||
  fail "the PostScript is cut short: the job is incomplete"
mkdir -p "$tmp" || fail "cannot make the folder $tmp"
TMPDIR=$tmp gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$pdf.part" "$ps" >"$out/job-$n.log" 2>&1 </dev/null &
step=$!
wait "$step" || fail "Ghostscript could not make the PDF (see $out/job-$n.log)"
rm -rf "$tmp"
[ -s "$pdf.part" ] || fail "Ghostscript made an empty PDF"
mv -f "$pdf.part" "$pdf" || fail "the PDF could not be kept as $pdf"
cp -f "$pdf" "$out/last.pdf.tmp" && mv -f "$out/last.pdf.tmp" "$out/last.pdf" ||
  fail "the PDF could not be copied to $out/last.pdf"
