#!/usr/bin/env bash
# Source this file: what the scripts need to know of this machine and of the
# project, each asked in one place.

# Whether Wine can start 32-bit Windows programs here. Some kernels (virtual
# machines without 32-bit support) refuse Wine's 32-bit loader with "Exec
# format error"; there only 64-bit programs run, through wine64.
runs_32bit_programs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The project's version, from CMakeLists.txt alone
# (project(Quandrel VERSION x.y.z)); fails when it is not there.
project_version() {
  local root version
  root=$(dirname "${BASH_SOURCE[0]}")/..
  version=$(sed -n 's/^project(Quandrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
  [ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; return 1; }
  echo "$version"
}
