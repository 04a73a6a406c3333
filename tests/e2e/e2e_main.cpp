// The UI driver's entry point: it puts itself on a desktop of its own, which
// Wine draws as a virtual desktop filling the display, so that the tools it
// starts there can be found, driven and photographed. Its manager is made
// ready before the first window is asked for (wine_desktop.h).
#include <gtest/gtest.h>

#include "ui_driver.h"
#include "wine_desktop.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!ui_driver::UseDesktop(L"MakePendriveE2E", 1024, 768) || !wine_desktop::WaitUntilReady()) return 1;
  return RUN_ALL_TESTS();
}
