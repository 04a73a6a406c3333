// The window used with the keyboard alone: real key strokes through the
// system's input queue to the focused control of the tool.
#include <optional>

#include "tool_fixture.h"

using namespace ui_driver;
using wine_drives::Drive;

namespace {

class Keyboard : public ToolTest {
 protected:
  void SetUp() override {
    drives.push_back(Drive::RemovableWithLabel(L'E', "drovalin-old"));
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ASSERT_TRUE(StatusBecomes(L"E:\\"));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(w.copyButton); }, 2000));
  }

  // A tick disables the copy button for its duration and takes the focus
  // off it. Plugging or pulling a spare drive shows when a tick has just
  // run; the next is then a second away, time enough for a few keys.
  void JustAfterATick() {
    if (spare_) {
      spare_.reset();
      ASSERT_TRUE(StatusBecomes(L"E:\\"));
    } else {
      spare_.emplace(Drive::Removable(L'H', DriveFolder(L'H', "SPARE")));
      ASSERT_TRUE(StatusBecomes(L"H:\\; E:\\"));
    }
  }

  // Presses the key and waits until the focus is on `expected`.
  testing::AssertionResult KeyMovesFocusTo(WORD key, bool shift, HWND expected, const char* name) {
    PressKey(key, shift);
    if (WaitUntil([&] { return Focus(w.main) == expected; }, 500)) return testing::AssertionSuccess();
    const HWND focus = Focus(w.main);
    return testing::AssertionFailure() << "the focus did not reach " << name << "; it is on a " << Utf8(ClassOf(focus))
                                       << " showing " << testing::PrintToString(Text(focus));
  }

  // Tab until the focus is on `target`, at most once around the window.
  testing::AssertionResult TabTo(HWND target, const char* name) {
    for (int i = 0; i < 8 && Focus(w.main) != target; ++i) {
      PressKey(VK_TAB);
      WaitUntil([&] { return Focus(w.main) == target; }, 300);
    }
    if (Focus(w.main) == target) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "Tab never reached " << name;
  }

  std::string Label() const { return wine_drives::ReadLabelFile(drives.front().folder()); }

 private:
  std::optional<Drive> spare_;
};

TEST_F(Keyboard, TabVisitsTheControlsInOrderAndShiftTabGoesBack) {
  ASSERT_EQ(Focus(w.main), w.selectorField);
  const struct {
    HWND control;
    const char* name;
  } order[] = {
      {w.installerOption, "the installer option"},
      {w.downloadOption, "the download option"},
      {w.copyButton, "the copy button"},
      {w.closeButton, "the close button"},
      {w.log, "the log"},
      {w.helpButton, "the help button"},
      {w.selectorField, "the selector"},
  };
  // A loaded machine can stretch a walk past the next tick; then the walk
  // is repeated from the selector after a fresh tick.
  testing::AssertionResult walked = testing::AssertionFailure();
  for (int attempt = 0; attempt < 3 && !walked; ++attempt) {
    ASSERT_TRUE(TabTo(w.selectorField, "the selector"));
    ASSERT_NO_FATAL_FAILURE(JustAfterATick());
    walked = testing::AssertionSuccess();
    for (const auto& stop : order) {
      if (!(walked = KeyMovesFocusTo(VK_TAB, false, stop.control, stop.name))) break;
    }
  }
  ASSERT_TRUE(walked);
  EXPECT_TRUE(KeyMovesFocusTo(VK_TAB, true, w.helpButton, "the help button"));
}

TEST_F(Keyboard, SpaceTogglesEnterCopiesEscClosesAndTheLogKeepsBoth) {
  ASSERT_NO_FATAL_FAILURE(JustAfterATick());
  ASSERT_TRUE(KeyMovesFocusTo(VK_TAB, false, w.installerOption, "the installer option"));
  PressKey(VK_SPACE);
  // Unticking the installer option unticks the download option: the copy
  // action will only write the label.
  ASSERT_TRUE(WaitUntil([&] { return !Checked(w.installerOption) && !Checked(w.downloadOption); }, 1000));

  ASSERT_TRUE(TabTo(w.log, "the log"));
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return Text(w.log).find(L"\r\n") != std::wstring::npos; }, 1000))
      << "Enter starts a new line in the log";
  PressKey(VK_ESCAPE);
  Sleep(1000);
  EXPECT_EQ(Label(), "drovalin-old") << "Enter in the log does not press the copy button";
  ASSERT_TRUE(IsWindow(w.main)) << "Esc in the log does not close the tool";
  EXPECT_FALSE(tool->WaitForExit(0));

  ASSERT_TRUE(TabTo(w.selectorField, "the selector"));
  PressKey(VK_RETURN);
  EXPECT_TRUE(Eventually<std::string>([&] { return Label(); }, "DROVALIN", 3000)) << "Enter presses the copy button";
  ASSERT_TRUE(WaitUntil([&] { return Enabled(w.closeButton); }, 2000));
  EXPECT_TRUE(tool->Dialogs().empty());

  PressKey(VK_ESCAPE);
  DWORD exitCode = 1;
  ASSERT_TRUE(tool->WaitForExit(5000, &exitCode)) << "Esc closes the tool";
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
