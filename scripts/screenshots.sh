#!/usr/bin/env bash
# Takes screenshots of the desktop program under Xvfb, at scale 1 and 2: the
# main window with a list, the rename preview and the cover preview.
#   scripts/screenshots.sh BUILD_DIR OUT_DIR
# Needs xvfb, xdotool and ffmpeg (scripts/install-packages.sh). The PNGs are
# for looking at, not for the repository.
set -euo pipefail

build=$(realpath "${1:?build folder}")
out=$(realpath -m "${2:?output folder}")
app="$build/bin/liedkram"
[[ -x "$app" ]] || { echo "no $app" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A small collection: tagged songs, one without an artist, one with a long title.
music="$work/Musik"
mkdir -p "$music"
song() {
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=$((300 + RANDOM % 500)):duration=$4" -c:a libmp3lame -b:a 128k \
    -id3v2_version 3 -write_id3v1 1 -metadata artist="$2" -metadata title="$3" -metadata album="Beispiele" \
    "$music/$1"
}
song "track01.mp3" "Nena" "99 Luftballons" 3
song "track02.mp3" "Simon & Garfunkel" "The Boxer" 4
song "track03.mp3" "Abba" "Waterloo" 2
song "track04.mp3" "" "Ohne Interpret" 2
song "track05.mp3" "Kraftwerk" "Die Roboter und ein Titel, der für seine Spalte viel zu lang ist" 3
song "track06.mp3" "Queen" "Bohemian Rhapsody" 5

shot() {
  local display=$1 size=$2 file=$3
  sleep 1
  ffmpeg -loglevel error -y -f x11grab -video_size "$size" -i "$display" -frames:v 1 "$file"
  echo "$file"
}

wait_window() {
  local name=$1
  for _ in $(seq 1 100); do
    if xdotool search --name "$name" >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  echo "no window '$name'" >&2
  return 1
}

for scale in 1 2; do
  width=$((1100 * scale))
  height=$((700 * scale))
  display=":$((90 + scale))"
  Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp &
  xvfb_pid=$!
  export DISPLAY=$display
  for _ in $(seq 1 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

  export XDG_CONFIG_HOME="$work/config$scale" XDG_DATA_HOME="$work/data$scale" XDG_RUNTIME_DIR="$work/run$scale"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$app" "$music" &
  app_pid=$!
  wait_window "Liedkram"
  shot "$display" "${width}x${height}" "$out/main-${scale}x.png"

  # Every row, then Ctrl+Enter: the preview of the new names.
  xdotool mousemove $((300 * scale)) $((120 * scale)) click 1
  xdotool key ctrl+a key ctrl+Return
  wait_window "^Umbenennen$"
  shot "$display" "${width}x${height}" "$out/rename-preview-${scale}x.png"
  xdotool key Escape
  sleep 0.5

  # The context menu of the selected rows, its sixth item: CD-Cover.
  xdotool mousemove $((300 * scale)) $((120 * scale)) click 3
  sleep 0.5
  xdotool key Down Down Down Down Down Down Return
  wait_window "^CD-Cover$"
  shot "$display" "${width}x${height}" "$out/cover-preview-${scale}x.png"
  xdotool key Escape
  sleep 0.3

  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
done
