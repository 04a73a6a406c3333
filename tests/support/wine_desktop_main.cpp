// The first program of every Windows test session (scripts/wine-run): it
// makes the session's desktop ready before the program under test starts,
// since that program asks for the desktop window while its libraries load,
// before any code of its own could wait (wine_desktop.h). It says "ready" on
// standard output once the desktop works, then holds the desktop open, as
// Wine closes a desktop a second after its last program leaves it, until the
// session ends.
#include <windows.h>

#include <cstdio>

#include "wine_desktop.h"

int main() {
  if (!wine_desktop::WaitUntilReady()) return 90;
  std::puts("ready");
  std::fflush(stdout);
  Sleep(INFINITE);
  return 0;
}
