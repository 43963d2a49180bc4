# Shared by tools/run and tools/test: packages, locale, and the background
# servers (X display, sound server) that the program needs under Wine.
# Every server started here is recorded by pid and stopped by stop_started.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$root/build"
started_pids=()
started_dirs=()

say() { printf '%s\n' "$*" >&2; }
# One line per long step, with the time of day, so that a slow step shows
# where it is: "[12:03:04] == build win64".
step() { say "[$(date +%H:%M:%S)] == $*"; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are missing; silent when all are there.
# An install shows apt's own progress: on a fresh machine it takes minutes.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  step "installing: ${missing[*]}"
  as_root apt-get update >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >&2
}

# 32-bit Wine is Debian's wine32 from the i386 architecture: Debian's wine64
# alone starts no 32-bit program. Multiarch wants the amd64 and i386 builds of
# a shared library at one version, so the install may upgrade some amd64
# packages too (about 240 i386 packages and 270 MB on a fresh machine).
ensure_wine32() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "adding the i386 architecture for 32-bit Wine"
    as_root dpkg --add-architecture i386 || return 1
    as_root apt-get update >&2 || return 1
  fi
  ensure_packages "${wine32_packages[@]}" || return 1
  [ -x /usr/lib/wine/wine ] || { say "32-bit Wine is installed, but /usr/lib/wine/wine is missing"; return 1; }
}

# Wine needs a Japanese Linux locale for Japanese file and folder names.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  step "generating the ja_JP.UTF-8 locale"
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null \
    || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >&2
}

build_packages=(cmake ninja-build g++ mingw-w64 googletest)
# The platform-free code as 32-bit x86 code, run under user-mode emulation.
i686_packages=(g++-i686-linux-gnu qemu-user)
wine_packages=(wine wine64 fonts-wine fonts-ipafont-gothic locales)
wine32_packages=(wine32:i386)
desktop_packages=(xvfb xdotool libx11-dev imagemagick pulseaudio pulseaudio-utils sox python3 python3-numpy python3-mido)
fuzz_packages=(clang libclang-rt-14-dev)
# tools/dist packs the release; its test unpacks it.
dist_packages=(zip unzip)

stop_started() {
  local pid prefix
  for prefix in "${wine_prefix_used:-}" "${wine_prefix32_used:-}"; do
    if [ -n "$prefix" ] && [ -x /usr/lib/wine/wineserver ]; then
      WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    fi
  done
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${started_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  started_pids=()
  rm -rf "${started_dirs[@]}"
  started_dirs=()
}

# A private X display for the program's windows.
start_xvfb() {
  step "start a private X display"
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  started_pids+=($!)
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# A sound server whose only output is a null sink named "drums"; what is played
# can be captured from drums.monitor.
start_pulse() {
  step "start a sound server with a null sink"
  # A folder of this run's own, so that two runs in one tree never share a server.
  local dir="$build/run/pulse-$$"
  rm -rf "$dir"
  mkdir -p "$dir"
  started_dirs+=("$dir")
  env PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    --load="module-null-sink sink_name=drums" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
    >"$dir/log" 2>&1 &
  started_pids+=($!)
  export PULSE_SERVER="unix:$dir/native"
  local i
  for i in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl info >/dev/null 2>&1 || { say "the sound server did not start: $(tail -3 "$dir/log")"; return 1; }
}
