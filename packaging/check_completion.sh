#!/usr/bin/env bash
# The bash completion offers the options, port labels after --loopback and --port in each
# spelling, registers after --write and --pulse.
# Usage: check_completion.sh COMPLETION_FILE
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
failures=0
expect() {
  local want=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _vellix
  local got="${COMPREPLY[*]}"
  if [[ $got != "$want" ]]; then
    echo "FAIL: [${COMP_WORDS[*]}] offers '$got', want '$want'"
    failures=$((failures + 1))
  fi
}
for program in vellix vellix-term; do
  [[ $(complete -p "$program") == *"-F _vellix $program"* ]] || { echo "FAIL: no completion for $program"; failures=$((failures + 1)); }
  expect "--help --version --ports --loopback --record --watch --for --rate --read --write --pulse --width --port" "$program" ""
  expect "--loopback" "$program" --l
  expect "--ports --pulse --port" "$program" --p
  expect "--record --rate --read" "$program" --r
done
# The legacy labels are always offered; the kernel's ports come on top, so only these are checked.
labels=$(_vellix_port_labels | tr '\n' ' ')
[[ $labels == *"0x0278 0x0300 0x0378 0x03BC"* ]] || { echo "FAIL: labels '$labels'"; failures=$((failures + 1)); }
expect "$(printf '%s ' $(_vellix_port_labels | grep '^0x03B') | sed 's/ $//')" vellix --loopback 0x03B
expect "$(printf '%s ' $(_vellix_port_labels | grep '^0x027') | sed 's/ $//')" vellix --loopback = 0x027
expect "$(printf -- '--loopback=%s ' $(_vellix_port_labels | grep '^0x030') | sed 's/ $//')" vellix --loopback=0x030
expect "$(printf '%s ' $(_vellix_port_labels | grep '^0x037') | sed 's/ $//')" vellix --read --port 0x037
expect "$(printf -- '--port=%s ' $(_vellix_port_labels | grep '^0x02') | sed 's/ $//')" vellix --watch --port=0x02
expect "data= control=" vellix --write ""
expect "control=" vellix --pulse c
expect "" vellix --record --for ""
expect "" vellix --bogus
((failures == 0)) || exit 1
echo "completion checks passed"
