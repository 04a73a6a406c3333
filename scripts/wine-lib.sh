# Shared by the scripts that run Windows programs under Wine. Every step that
# fails stops the caller with the reason: a broken environment must never let
# a test pass.

wine_die() { echo "wine: $*" >&2; exit 90; }

# Whether the kernel executes 32-bit x86 programs, which Wine's 32-bit
# loader is: "native" or "no" (some virtual machines refuse them; there only
# a virtual machine, scripts/wine-vm, runs the 32-bit build).
wine_i386_mode() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo native; else echo no; fi
}

# The flavour a Windows build tree was configured for (win32 or win64),
# written by cmake/Win32.cmake.
wine_flavour() {
  local flavour
  flavour=$(cat "$1/windows-flavour" 2>/dev/null) || wine_die "$1 is not a configured Windows build tree"
  case $flavour in win32 | win64) echo "$flavour" ;; *) wine_die "$1 names an unknown flavour '$flavour'" ;; esac
}

# Picks Wine's loader for a flavour: the 32-bit one for the product's own
# build, wine64 for the 64-bit test flavour. Debian's /usr/bin/wine always
# takes the 32-bit loader where it is installed, and a link named "wine" to
# wine64 cannot find its loader, so the loader is called by its own path;
# WINELOADER lets Wine start further programs (the tool under its UI driver)
# with the same one. Where the kernel cannot run the flavour, the caller
# stops with the reason: a test must never pass, or be skipped, for it.
wine_use_flavour() {
  case $1 in
    win32)
      [ "$(wine_i386_mode)" = native ] ||
        wine_die "this kernel cannot execute 32-bit x86 programs, so Wine cannot run the 32-bit build here; scripts/wine-vm runs it in a virtual machine that can (bash scripts/wine-vm ctest --test-dir build/win32), and build/win64 runs the same tests under wine64"
      export WINELOADER=/usr/lib/wine/wine ;;
    win64) export WINELOADER=/usr/lib/wine/wine64 ;;
    *) wine_die "unknown flavour $1" ;;
  esac
  "$WINELOADER" --version >/dev/null 2>&1 || wine_die "Wine's loader $WINELOADER does not run (is wine64 installed? scripts/setup.sh installs it)"
}
wine() { "${WINELOADER:?wine_use_flavour first}" "$@"; }

# winemenubuilder, which Wine starts beside the first program of a session,
# asks for the desktop window at once and so starts the desktop's manager
# with Wine's 10 s wait; on a loaded or emulated processor the wait runs out
# and leaves the whole session without a display driver
# (tests/support/wine_desktop.h). Tests need no menu entries anyway.
case ";${WINEDLLOVERRIDES:-};" in
  *";winemenubuilder.exe=d;"*) ;;
  *) export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
esac

# The flavour that benchmarks and the run command use: the product's own
# 32-bit build where this kernel runs it, else the 64-bit one under wine64.
# MPI_WINE_FLAVOUR (win32, win64) chooses.
wine_default_flavour() {
  if [ -n "${MPI_WINE_FLAVOUR:-}" ]; then
    echo "$MPI_WINE_FLAVOUR"
  elif [ "$(wine_i386_mode)" = native ]; then
    echo win32
  else
    echo win64
  fi
}

# The line a benchmark prints first, so that every figure names its build.
wine_flavour_line() {
  case $1 in
    win32) echo "flavour: win32, the shipped 32-bit build, under Wine's 32-bit loader" ;;
    win64) echo "flavour: win64, the same sources built for 64-bit Windows, under wine64 at native speed" ;;
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
      WINEPREFIX=$tpl WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;$WINEDLLOVERRIDES" \
        DISPLAY= wine wineboot -i >/dev/null 2>&1 || wine_die "wineboot failed for $tpl"
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
