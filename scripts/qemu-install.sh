#!/usr/bin/env bash
# Installs, only if missing, what scripts/qemu-test.sh needs.
exec bash "$(dirname "$0")/deps.sh" qemu
