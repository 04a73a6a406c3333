// The main of every GoogleTest program that runs under Wine: the desktop is
// made ready before the first test creates a window (wine_desktop.h).
#include <gtest/gtest.h>

#include "wine_desktop.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!wine_desktop::WaitUntilReady()) return 90;
  return RUN_ALL_TESTS();
}
