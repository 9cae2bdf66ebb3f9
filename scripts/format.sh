#!/usr/bin/env bash
# Formats the project's C and C++ sources with clang-format and the
# .clang-format at the top of the tree: the module, the tools, the tests, the
# fuzzers, the benchmarks and the browser workbench's glue.  Sources that the
# build fetches or generates (under build/, node_modules/) are never touched.
#
#   bash scripts/format.sh               reformat in place
#   bash scripts/format.sh --check       list the files that differ; exit 1 if any
#   bash scripts/format.sh [--check] FILE...   only these files
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
check=0
if [[ ${1:-} == --check ]]; then
  check=1
  shift
fi

formatter="${CLANG_FORMAT:-clang-format}"
if ! command -v "$formatter" >/dev/null; then
  echo "format.sh: $formatter is not installed (scripts/install-deps.sh installs it)" >&2
  exit 2
fi

files=("$@")
if [[ ${#files[@]} -eq 0 ]]; then
  folders=(base platform voice_data reading translate synth host include tools tests fuzz bench web/src web/tests)
  mapfile -t files < <(cd "$root" && find "${folders[@]}" \( -name build -o -name node_modules \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.cc' -o -name '*.hpp' \) -print | sort)
  files=("${files[@]/#/$root/}")
fi

style="file:$root/.clang-format"
differ=0
for file in "${files[@]}"; do
  if [[ $check -eq 1 ]]; then
    if ! "$formatter" --style="$style" "$file" | cmp -s - "$file"; then
      echo "${file#"$root"/}"
      differ=1
    fi
  else
    "$formatter" --style="$style" -i "$file" || exit 1
  fi
done
if [[ $differ -eq 1 ]]; then
  echo "format.sh: the files above differ from .clang-format; run bash scripts/format.sh" >&2
  exit 1
fi
exit 0
