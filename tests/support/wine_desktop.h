// Wine starts the desktop's manager (explorer.exe /desktop) when a process
// first needs the desktop window, and gives it 10 s to get ready. Past that,
// the process goes on with a desktop window that no display driver backs,
// takes Wine's null driver for the rest of its life, and every window it
// creates fails ("Cannot create a window"). A loaded machine, or a processor
// emulated in software (scripts/wine-vm), can take longer than that to start
// a Wine process. So every Windows test program starts the manager of its
// desktop itself, first, and waits for it as long as it takes.
#pragma once

namespace wine_desktop {

// Starts the manager of the calling thread's desktop and waits until it
// answers, then checks that a window can be created there. Returns false,
// with the reason on stderr, when the desktop cannot be used at all.
bool WaitUntilReady();

}  // namespace wine_desktop
