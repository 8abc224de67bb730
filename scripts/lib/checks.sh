# shellcheck shell=bash
# Sourced by the test scripts that run many checks and report every failure, not only the first.
# fail MESSAGE...: says the failure and counts it. end_checks [LINE]: exits 1 with the count if
# any check failed, else says LINE and exits 0.
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

end_checks() {
  if ((failures)); then
    echo "$failures failure(s)"
    exit 1
  fi
  [[ -n ${1:-} ]] && echo "$1"
  exit 0
}

# need_tools TOOL...: skips the whole test (exit 77, which CTest reports as skipped) when one of
# the programs is not installed.
need_tools() {
  local missing=() tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "SKIPPED: not installed: ${missing[*]} (bash scripts/deps.sh test installs them)"
    exit 77
  fi
}
