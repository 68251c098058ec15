#!/usr/bin/env bash
# Runs a fuzz program on a corpus named by a path relative to the current folder:
#   RelativeCorpusTest.sh <program> <corpus folder> [program options]
# The folder holds every input of the corpus twice, so inputs are still read after the target has
# run; a target that leaves the process in another folder makes them unreadable, and the program
# (libFuzzer or the replay main) then fails.
set -euo pipefail
program="$1"
corpus="$2"
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/inputs"
for f in "$corpus"/*; do
  cp "$f" "$work/inputs/a-$(basename "$f")"
  cp "$f" "$work/inputs/b-$(basename "$f")"
done
cd "$work"
"$program" "$@" inputs
