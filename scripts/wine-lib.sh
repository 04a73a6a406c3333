# Shared by the scripts that run Windows programs under Wine. Every step that
# fails stops the caller with the reason: a broken environment must never let
# a test pass.

wine_die() { echo "wine: $*" >&2; exit 90; }

# The exit status ctest counts as "skipped" (SKIP_RETURN_CODE of every
# Windows test): the machine cannot run the tests at all, which is neither a
# pass nor a fault of the code under test.
WINE_SKIP=77
wine_skip() { echo "wine: skipped: $*" >&2; exit "$WINE_SKIP"; }

# How Wine's 32-bit loader runs here: "native", "emulated" (through a
# binfmt_misc emulator, see scripts/wine-emulate) or "no" (the kernel cannot
# execute 32-bit x86 programs).
wine_i386_mode() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo no; return; }
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    case $entry in */register | */status) continue ;; esac
    [ -f "$entry" ] || continue
    if grep -qx enabled "$entry" && grep -q '^interpreter .*qemu-i386' "$entry"; then
      echo emulated
      return
    fi
  done
  echo native
}

# Stops the caller with "skipped" where the tool cannot run under Wine.
wine_require_i386() {
  case $(wine_i386_mode) in
    native) ;;
    emulated)
      [ "${MPI_WINE_EMULATED:-}" = 1 ] ||
        wine_skip "32-bit programs run here only under qemu (scripts/wine-emulate), where threaded tests crash or hang; MPI_WINE_EMULATED=1 runs them anyway"
      ;;
    *) wine_skip "this kernel cannot execute 32-bit x86 programs, so Wine cannot run the 32-bit tool or its tests (scripts/wine-vm runs them in a virtual machine that can, MPI_WINE_VM=1 bash scripts/test runs them all there)" ;;
  esac
}

# Wine as most of the tool's users have Windows: Polish, code page 1250.
# MPI_WINE_LOCALE runs it in another locale (C.UTF-8, en_US.UTF-8), as an
# English Windows would be, with a template prefix made in that locale.
export LANG=${MPI_WINE_LOCALE:-pl_PL.UTF-8}
unset LC_ALL LC_CTYPE LC_MESSAGES
# The template prefix of the locale: a prefix keeps the code page it was
# made with.
wine_template_dir() {
  if [ "$LANG" = pl_PL.UTF-8 ]; then echo "$1/wine/template"; else echo "$1/wine/template-$LANG"; fi
}

# Template prefix for a build tree, made once and copied for every run.
wine_template() {
  local build=$1 tpl
  tpl=$(wine_template_dir "$1")
  mkdir -p "$build/wine"
  (
    flock 9
    # Bump when the template's recipe changes, so old build trees remake it.
    local recipe=4
    if [ "$(cat "$tpl/.ready" 2>/dev/null)" != "$recipe" ]; then
      rm -rf "$tpl"
      echo "wine: creating the template prefix in $tpl (once per build tree)" >&2
      WINEPREFIX=$tpl WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        DISPLAY= wineboot -i >/dev/null 2>&1 || wine_die "wineboot failed for $tpl"
      WINEPREFIX=$tpl wineserver -w || true
      [ -f "$tpl/system.reg" ] || wine_die "template prefix $tpl has no registry"
      # The window's font is the bitmap face MS Sans Serif. The prefix names
      # its file (sserifee.fon in Polish) but this Wine does not look for it
      # where fonts-wine puts it, and would silently substitute Liberation Sans.
      # Marlett draws the title bar's buttons, for screenshots.
      cp /usr/share/wine/fonts/sserif*.fon /usr/share/wine/fonts/marlett.ttf "$tpl/drive_c/windows/Fonts/" ||
        wine_die "fonts-wine's MS Sans Serif or Marlett files are missing"
      echo "$recipe" >"$tpl/.ready"
    fi
  ) 9>"$tpl.lock"
}

# Starts a private Xvfb on a free display; sets DISPLAY and XVFB_PID.
wine_start_xvfb() {
  local fifo dir
  dir=$(mktemp -d)
  fifo=$dir/display
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local num
  read -r -t 20 num <"$fifo" || { kill "$XVFB_PID" 2>/dev/null; wine_die "Xvfb did not start"; }
  rm -rf "$dir"
  [ -n "$num" ] || wine_die "Xvfb gave no display number"
  export DISPLAY=":$num"
}

wine_stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}
