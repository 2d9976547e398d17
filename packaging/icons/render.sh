#!/usr/bin/env bash
# Renders the hicolor PNG icons from the scalable one. Run after changing
# org.vorlane.Vorlane.svg and commit the PNGs (needs rsvg-convert, librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" org.vorlane.Vorlane.svg -o "hicolor/${size}x${size}/org.vorlane.Vorlane.png"
done
