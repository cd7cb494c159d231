# What scripts/demo and scripts/demo-writer share; sourced by them, after `cd` to the
# repository and with $offscreen set. Builds the programs in demo_targets (by default
# those of scripts/demo) and no more, sets root and bin, starts a private session bus when
# none answers, and stops every process put in started[] (and whatever stop_extra stops)
# when the demo ends or is interrupted.

root=$PWD
# Only what the demo runs: the tests, fuzzers and benchmarks would take minutes more.
if [ -z "${demo_targets+set}" ]; then demo_targets=(penlark penlark-organizer penlark-word penlark-demo); fi
if [ "${PENLARK_WITH_WRITER:-1}" = 0 ]; then demo_targets=("${demo_targets[@]/penlark-writer/}"); fi
scripts/build ${demo_targets[@]}
build=${PENLARK_BUILD_DIR:-build}
case $build in /*) bin=$build/bin ;; *) bin=$root/$build/bin ;; esac

started=()
stop_extra() { :; }
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  stop_extra
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

bus_answers() {
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] &&
    dbus-send --session --dest=org.freedesktop.DBus --print-reply / org.freedesktop.DBus.GetId >/dev/null 2>&1
}
if ! bus_answers; then
  exec {bus_out}< <(dbus-daemon --session --nofork --nopidfile --print-address=1 --print-pid=1 2>/dev/null)
  read -r -u "$bus_out" DBUS_SESSION_BUS_ADDRESS
  read -r -u "$bus_out" bus_pid
  started+=("$bus_pid")
  export DBUS_SESSION_BUS_ADDRESS
  echo "demo: private session bus at $DBUS_SESSION_BUS_ADDRESS"
fi

# Makes the demo folder $demo (PENLARK_DEMO_DIR, else $1 under the temporary folder) afresh,
# with Penlark, the sample address book and PENLARK.INI, and the letters named after it.
make_demo_folder() {
  demo=${PENLARK_DEMO_DIR:-${TMPDIR:-/tmp}/$1}
  shift
  case $demo in "$root"|"$root"/*) echo "demo: the demo folder must lie outside the source tree" >&2; exit 2 ;; esac
  # PENLARK_DEMO_DIR may name any folder, so only one the demo made itself is emptied.
  if [ -n "$(ls -A "$demo" 2>/dev/null)" ] && [ ! -e "$demo/.penlark-demo" ]; then
    echo "demo: $demo holds files the demo did not make; name another folder" >&2
    exit 2
  fi
  rm -rf "$demo"
  mkdir -p "$demo/pictures"
  : >"$demo/.penlark-demo"
  # Penlark keeps PENLARK.INI beside itself, so the program is copied into the folder.
  cp "$bin/penlark" "$demo/penlark"
  cp samples/addresses.json "$@" "$demo/"
  sed "s#^Organizer File Path=.*#Organizer File Path=$demo/addresses.json#" samples/PENLARK.INI >"$demo/PENLARK.INI"
  if [ "$offscreen" = 1 ]; then export QT_QPA_PLATFORM=offscreen; fi
  # Qt warns at each program's start without one (root's sessions often have none).
  if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    mkdir -m 700 "$demo/runtime"
    export XDG_RUNTIME_DIR=$demo/runtime
  fi
}

# Waits until a program owns its bus name, or says why not.
wait_for_name() {
  local name=$1 pid=$2
  for _ in $(seq 100); do
    if dbus-send --session --dest=org.freedesktop.DBus --print-reply / org.freedesktop.DBus.NameHasOwner \
         "string:$name" 2>/dev/null | grep -q 'boolean true'; then return 0; fi
    kill -0 "$pid" 2>/dev/null || { echo "demo: the program for $name stopped" >&2; return 1; }
    sleep 0.1
  done
  echo "demo: nobody took $name" >&2
  return 1
}

# Starts a program in the background, to be stopped with the demo, and waits for its bus
# name; its process id is left in served.
start_serving() {
  local name=$1
  shift
  "$@" &
  served=$!
  started+=("$served")
  wait_for_name "$name" "$served"
}

# Leaves the person at Penlark's main window. When Penlark ends (Finished, say), the
# letter stays in view in the word processor named $1 while the command after it succeeds
# (the letter is still open there): the demo ends when that window is closed, or at Ctrl-C.
run_penlark_for_person() {
  local word_processor=$1
  shift
  echo "demo: the demo folder is $demo"
  # In the background, so a signal to the demo is handled at once, not when a program ends.
  "$demo/penlark" &
  started+=($!)
  wait "$!" || true
  if "$@" >/dev/null 2>&1; then
    echo "demo: Penlark has ended; the letter stays open in $word_processor."
    echo "demo: close its window, or press Ctrl-C here, to end the demo."
    # Polled: an office whose last window closed goes on running for its listener.
    while "$@" >/dev/null 2>&1; do sleep 0.5; done
  fi
  exit 0
}
