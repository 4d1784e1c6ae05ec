#!/usr/bin/env bash
# Printer port of the test prefix: Wine's PostScript arrives on standard input and
# becomes a PDF in the given folder (newest job: last.pdf; each job also numbered).
set -u
out=${1:?folder}
mkdir -p "$out"
n=$(( $(ls "$out"/job-*.ps 2>/dev/null | wc -l) + 1 ))
ps="$out/job-$n.ps"
cat >"$ps"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$out/job-$n.pdf" "$ps" >"$out/job-$n.log" 2>&1
cp -f "$out/job-$n.pdf" "$out/last.pdf.tmp" && mv -f "$out/last.pdf.tmp" "$out/last.pdf"
