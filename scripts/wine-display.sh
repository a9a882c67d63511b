# Sourced by the scripts that show Windows windows under Wine: a virtual X server on a
# free display with a window manager (without one Wine waits on every window it hides
# for a manager to answer), named in VASKAREL_WINE_DISPLAY for scripts/wine-env.sh.
# The sourcing script calls vk_stop_wine_display when it is done.
vk_display_pids=()
for vk_number in $(seq 90 140); do
  [ -e "/tmp/.X11-unix/X$vk_number" ] || [ -e "/tmp/.X$vk_number-lock" ] && continue
  Xvfb ":$vk_number" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  vk_display_pids+=($!)
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$vk_number" ] && break
    sleep 0.1
  done
  if [ -e "/tmp/.X11-unix/X$vk_number" ] && kill -0 "${vk_display_pids[-1]}" 2>/dev/null; then
    export VASKAREL_WINE_DISPLAY=":$vk_number"
    break
  fi
done
if [ -z "${VASKAREL_WINE_DISPLAY:-}" ]; then
  echo "no free X display for Wine" >&2
  return 1
fi
DISPLAY=$VASKAREL_WINE_DISPLAY openbox </dev/null >/dev/null 2>&1 &
vk_display_pids+=($!)
vk_stop_wine_display() {
  local pid
  for pid in "${vk_display_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  vk_display_pids=()
}
