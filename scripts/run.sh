#!/usr/bin/env bash
# Starts the scope; says so in one line when there is no display to show it on.
set -u
exe=$1; shift
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "tessaron-scope: no display found (DISPLAY is not set); run it from a desktop session, or under xvfb-run." >&2
  exit 1
fi
exec "$exe" "$@"
