# Shared helpers for running the program and its tests under Wine.
# Source it; every function takes the prefix folder as its first argument.
# A prefix folder's name ends in "-win32" for a 32-bit prefix; a file
# "display-mode" beside it says "null" (no X) or "x11" (Xvfb desktop).

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
_wine_env_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

_wine_arch() {
  case "$1" in *-win32) echo win32 ;; *) echo win64 ;; esac
}

# Writes the prefix settings as a UTF-16LE .reg file (Chinese names need it).
_wine_settings_reg() {
  local mode="$1" out="$2"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"宋体"="WenQuanYi Micro Hei"\r\n"SimSun"="WenQuanYi Micro Hei"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]\r\n\r\n'
    if [ "$mode" = null ]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n\r\n'
    else
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="x11"\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="800x600"\r\n\r\n'
    fi
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$out"
}

# Creates the prefix on first use (serialised with a lock).
wine_prefix_ensure() {
  local prefix="$1" mode="${2:-null}"
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.ready" ]; then
      rm -rf "$prefix"
      mkdir -p "$prefix"
      echo "wine: creating prefix $prefix ($(_wine_arch "$prefix"), $mode)" >&2
      WINEPREFIX="$prefix" WINEARCH="$(_wine_arch "$prefix")" wineboot -i </dev/null >/dev/null 2>&1
      _wine_settings_reg "$mode" "$prefix/settings.reg"
      WINEPREFIX="$prefix" wine reg import "$prefix/settings.reg" </dev/null >/dev/null 2>&1
      WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
      WINEPREFIX="$prefix" wineserver -w
      echo "$mode" > "$prefix/display-mode"
      touch "$prefix/.ready"
    fi
  ) 9>"$prefix.lock"
}

# Starts a virtual X display for an x11 prefix, once; its number is kept
# in the prefix folder.
wine_xvfb_ensure() {
  local prefix="$1" n pid
  [ "$(cat "$prefix/display-mode" 2>/dev/null)" = x11 ] || return 0
  if [ -f "$prefix/xvfb.pid" ] && kill -0 "$(cat "$prefix/xvfb.pid")" 2>/dev/null; then
    return 0
  fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      echo "$pid" > "$prefix/xvfb.pid"
      echo ":$n" > "$prefix/display"
      return 0
    fi
  done
  echo "wine: could not start Xvfb" >&2
  return 1
}

wine_display_export() {
  local prefix="$1"
  if [ -f "$prefix/display" ] && [ "$(cat "$prefix/display-mode" 2>/dev/null)" = x11 ]; then
    export DISPLAY="$(cat "$prefix/display")"
  fi
}

# Starts a persistent wineserver with detached output and warms it, so that
# Wine's helper processes never hold a caller's output pipe open.
wine_server_ensure() {
  local prefix="$1" rc=0
  WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1 || rc=$?
  if [ "$rc" = 0 ]; then
    WINEPREFIX="$prefix" wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
}

# Everything a run needs: prefix, display, server.
wine_up() {
  local prefix="$1" mode="${2:-null}"
  wine_prefix_ensure "$prefix" "$mode"
  wine_xvfb_ensure "$prefix"
  wine_display_export "$prefix"
  wine_server_ensure "$prefix"
}

# Stops the server (kill first: waiting on a persistent server never ends)
# and the virtual display.
wine_down() {
  local prefix="$1"
  [ -d "$prefix" ] || return 0
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" timeout 30 wineserver -w 2>/dev/null || true
  if [ -f "$prefix/xvfb.pid" ]; then
    kill "$(cat "$prefix/xvfb.pid")" 2>/dev/null || true
    rm -f "$prefix/xvfb.pid" "$prefix/display"
  fi
}
