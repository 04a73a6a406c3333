// Wine starts a desktop's manager (explorer.exe /desktop) when a process
// first needs the desktop window, and gives it 10 s to get ready. Past that,
// Wine makes a bare desktop window itself; the manager's own window then
// never becomes the desktop's, so every process on that desktop takes Wine's
// null display driver, and every window it creates fails ("Cannot create a
// window"). A loaded machine, or a processor emulated in software
// (scripts/wine-vm), can take longer than that to start a Wine process.
// A program asks while its libraries load (comctl32 does), before any code
// of its own runs; and winemenubuilder, which Wine starts beside a session's
// first program, asks at once. So scripts/wine-run turns winemenubuilder off
// and starts wine-desktop (wine_desktop_main.cpp) first, which makes the
// session's desktop ready with no time limit before the program under test
// starts; the UI driver does the same for the desktop it makes for the tool.
#pragma once

namespace wine_desktop {

// Starts the manager of the calling thread's desktop and waits until it
// answers, then checks that a window can be created there. Returns false,
// with the reason on stderr, when the desktop cannot be used at all. Only
// for a desktop that no process of the session has asked for yet.
bool WaitUntilReady();

}  // namespace wine_desktop
