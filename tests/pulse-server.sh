#!/usr/bin/env bash
# Starts or stops a private PulseAudio server with a null sink, for the audio tests.
#   pulse-server.sh start DIR   — socket at DIR/native, default sink "lusheng_test_sink"
#   pulse-server.sh stop DIR
set -euo pipefail
action="$1"
dir="$2"
mkdir -p "$dir"

if [ "$action" = stop ]; then
    if [ -f "$dir/pid" ]; then
        kill "$(cat "$dir/pid")" 2>/dev/null || true
        rm -f "$dir/pid"
    fi
    exit 0
fi

"$0" stop "$dir"
rm -rf "$dir/runtime" "$dir/native"
mkdir -p "$dir/runtime" "$dir/home"
cat > "$dir/server.pa" <<PA
load-module module-null-sink sink_name=lusheng_test_sink rate=22050 channels=1
set-default-sink lusheng_test_sink
load-module module-native-protocol-unix socket=$dir/native auth-anonymous=1
PA
# A private home and runtime directory: nothing of a desktop session's sound server is touched.
HOME="$dir/home" PULSE_RUNTIME_PATH="$dir/runtime" XDG_RUNTIME_DIR="$dir/runtime" \
    setsid pulseaudio -n -F "$dir/server.pa" --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disable-shm=yes --log-target=file:"$dir/server.log" \
    < /dev/null > /dev/null 2>&1 &
echo $! > "$dir/pid"
for _ in $(seq 1 100); do
    if PULSE_SERVER="unix:$dir/native" pactl info > /dev/null 2>&1; then
        exit 0
    fi
    sleep 0.1
done
echo "the private PulseAudio server did not start; its log:" >&2
cat "$dir/server.log" >&2 || true
exit 1
