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
