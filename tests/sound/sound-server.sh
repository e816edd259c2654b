# Sourced by the test and the benchmark that play through a real sound server.
#   start_sound_server KIND DIR  starts "pulseaudio", or "pipewire" with its
#                                pulse server and session manager, in DIR, with
#                                a null sink "lexi" as the default sink, and
#                                exports what a client needs to find it
#   stop_sound_server            kills it at once, as a crash would
#   sink_state                   RUNNING, IDLE or SUSPENDED
#   streams_of PID               the playback streams PID has open
#   start_recording              records the sink's monitor from now on
#   loudest_recorded             stops recording; prints the largest sample heard
#   loudest_during COMMAND...    the same around COMMAND

sound_server_pids=()
sound_server_kind=
sound_server_dir=

start_sound_server() {
    sound_server_kind=$1
    sound_server_dir=$2
    mkdir -p "$sound_server_dir/run" "$sound_server_dir/home"
    chmod 700 "$sound_server_dir/run"
    export HOME="$sound_server_dir/home" XDG_RUNTIME_DIR="$sound_server_dir/run"
    export PULSE_RUNTIME_PATH="$sound_server_dir/run/pulse"
    export PULSE_SERVER="unix:$sound_server_dir/run/pulse/native"
    unset SDL_AUDIODRIVER
    # A client never starts a server of its own: "no server" must stay so.
    printf 'autospawn = no\n' >"$sound_server_dir/client.conf"
    export PULSE_CLIENTCONFIG="$sound_server_dir/client.conf"
    local log="$sound_server_dir/server.log"
    case $sound_server_kind in
    pulseaudio)
        mkdir -p "$PULSE_RUNTIME_PATH"
        # Suspended after a second without streams, as desktops do after a few.
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr \
            -L "module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native" \
            -L "module-null-sink sink_name=lexi rate=44100" \
            -L "module-suspend-on-idle timeout=1" 2>>"$log" &
        sound_server_pids=($!)
        ;;
    pipewire)
        # The session manager suspends a sink five seconds after its last stream.
        [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] ||
            export DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 \
                --print-pid=3 3>"$sound_server_dir/dbus.pid")
        # Its clients give up when they find no pipewire to connect to: they
        # start once it answers, and not at a socket a killed one left.
        rm -f "$XDG_RUNTIME_DIR"/pipewire-0*
        pipewire 2>>"$log" &
        sound_server_pids=($!)
        for _ in $(seq 200); do
            pw-cli info 0 >/dev/null 2>&1 && break
            sleep 0.05
        done
        wireplumber 2>>"$log" &
        sound_server_pids+=($!)
        pipewire-pulse 2>>"$log" &
        sound_server_pids+=($!)
        ;;
    esac
    # Up to ten seconds each, for a loaded machine.
    for _ in $(seq 200); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    pactl info >/dev/null 2>&1 || {
        echo "the $sound_server_kind server does not answer" >&2
        return 1
    }
    if [ "$sound_server_kind" = pipewire ]; then
        for _ in $(seq 200); do
            pactl load-module module-null-sink sink_name=lexi >/dev/null 2>&1 && break
            sleep 0.05
        done
        # The session manager makes the configured default the default a
        # moment later: until then the server may still name none.
        for _ in $(seq 200); do
            [ "$(pactl get-default-sink 2>/dev/null)" = lexi ] && break
            pactl set-default-sink lexi 2>/dev/null
            sleep 0.05
        done
    fi
    local default_sink
    default_sink=$(pactl get-default-sink 2>&1)
    [ "$default_sink" = lexi ] || {
        echo "the $sound_server_kind server has no default sink lexi but \"$default_sink\";" \
            "its sinks: $(pactl list short sinks 2>&1 | tr '\n' ';')" >&2
        return 1
    }
}

stop_sound_server() {
    local pid
    for pid in "${sound_server_pids[@]}"; do
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    sound_server_pids=()
}

stop_sound_session() {
    stop_sound_server
    [ -f "$sound_server_dir/dbus.pid" ] && kill "$(cat "$sound_server_dir/dbus.pid")" 2>/dev/null
}

sink_state() {
    pactl list short sinks | awk '$2 == "lexi" { print $NF }'
}

streams_of() {
    pactl list sink-inputs | grep -c "application.process.id = \"$1\""
}

start_recording() {
    # A short latency asked for on the monitor keeps the null sink rendering in
    # short blocks; otherwise it renders up to two seconds at a time.
    parec --latency-msec=10 --raw --format=s16le --rate=44100 --channels=1 \
        --device=lexi.monitor >"$sound_server_dir/heard.raw" &
    recorder=$!
    sleep 0.3 # connected and recording
}

loudest_recorded() {
    # A null sink that only a recorder kept awake renders in blocks of up to
    # two seconds: the first sound of a new stream reaches its monitor that
    # late, from any program.
    sleep 2
    kill "$recorder"
    wait "$recorder" 2>/dev/null
    sox -t raw -r 44100 -e signed -b 16 -c 1 "$sound_server_dir/heard.raw" -n stat 2>&1 |
        awk '/^Maximum amplitude/ { printf "%d\n", $3 * 32768 }'
}

loudest_during() {
    start_recording
    "$@"
    loudest_recorded
}
