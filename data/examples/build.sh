#!/usr/bin/env bash
# Rebuilds the example hex files from their sources with gpasm (Debian package gputils).
set -euo pipefail
cd "$(dirname "$0")"
gpasm -a inhx32 -n -o blink628a.hex blink628a.asm
rm -f blink628a.lst blink628a.cod
