// Enter, Esc, Tab, Space and the access key, sent through the window's own
// keyboard handling as the keyboard would send them.
#include <windows.h>

#include "form_fixture.h"
#include "wine_drives.h"

using wine_drives::Drive;

namespace {

class KeyboardTest : public FormTest {
 protected:
  // One removable drive: the first tick enables the copy button.
  void SetUp() override {
    FormTest::SetUp();
    Tick();
    ASSERT_TRUE(form->BitBtn1.Enabled());
  }
  Drive drive_ = Drive::RemovableWithLabel(L'E', "ABC");
};

TEST_F(KeyboardTest, EnterPressesTheCopyButtonUnlessAnotherButtonOrTheLogHasTheFocus) {
  struct Case {
    const char* where;
    std::function<HWND()> focus;
    int copies;
    int helps;
  } cases[] = {
      {"selector", [&] { return form->DriveComboBox.EditField(); }, 1, 0},
      {"installer option", [&] { return form->KopiujInstalatorCheckBox1.hwnd(); }, 1, 0},
      {"copy button", [&] { return form->BitBtn1.hwnd(); }, 1, 0},
      {"help button", [&] { return form->BitBtn2.hwnd(); }, 0, 1},
      {"log", [&] { return form->Memo1.hwnd(); }, 0, 0},
  };
  for (const Case& c : cases) {
    form->copyPresses = form->helpPresses = 0;
    SetFocus(c.focus());
    PressKey(VK_RETURN);
    EXPECT_EQ(form->copyPresses, c.copies) << c.where;
    EXPECT_EQ(form->helpPresses, c.helps) << c.where;
    EXPECT_TRUE(IsWindow(window)) << c.where;
  }
  // In the log Enter started a new line instead.
  EXPECT_NE(form->Memo1.Text().find(L"\r\n"), std::wstring::npos);

  SetFocus(form->BitBtnKoniec.hwnd());
  PressKey(VK_RETURN);
  EXPECT_TRUE(ToolEnded()) << "Enter on the close button presses it";
  EXPECT_EQ(form->copyPresses, 0);
}

TEST_F(KeyboardTest, EnterAndAltKNeverPressADisabledCopyButton) {
  form->SetCopyButtonEnabled(false);
  SetFocus(form->DriveComboBox.EditField());
  PressKey(VK_RETURN);
  PressAltKey(L'k');
  EXPECT_EQ(form->copyPresses, 0);
  EXPECT_TRUE(IsWindow(window));

  form->SetCopyButtonEnabled(true);
  PressAltKey(L'k');
  EXPECT_EQ(form->copyPresses, 1) << "Alt+K presses the copy button";
}

TEST_F(KeyboardTest, EscClosesOnlyWhileTheCloseButtonIsEnabledAndNotFromTheLog) {
  SetFocus(form->Memo1.hwnd());
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(QuitPosted());

  form->SetCloseButtonEnabled(false);
  SetFocus(form->DriveComboBox.EditField());
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(QuitPosted());

  form->SetCloseButtonEnabled(true);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(ToolEnded());
}

TEST_F(KeyboardTest, TabVisitsTheControlsInOrderAndLeavesTheLog) {
  SetFocus(form->DriveComboBox.EditField());
  const std::pair<const char*, const Control*> order[] = {
      {"KopiujInstalatorCheckBox1", &form->KopiujInstalatorCheckBox1},
      {"PobierzZNetuCheckBox1", &form->PobierzZNetuCheckBox1},
      {"BitBtn1", &form->BitBtn1},
      {"BitBtnKoniec", &form->BitBtnKoniec},
      {"Memo1", &form->Memo1},
      {"BitBtn2", &form->BitBtn2},
      {"DriveComboBox", &form->DriveComboBox},
  };
  for (const auto& [name, control] : order) {
    PressKey(VK_TAB);
    EXPECT_TRUE(control->HasFocus()) << name;
  }
  EXPECT_EQ(form->Memo1.Text(), L"") << "no tab character went into the log";
}

TEST_F(KeyboardTest, SpacePressesTheFocusedButtonAndTheDefaultFrameFollowsTheFocus) {
  auto code = [](const Button& b) { return SendMessageW(b.hwnd(), WM_GETDLGCODE, 0, 0); };
  SetFocus(form->DriveComboBox.EditField());
  EXPECT_TRUE(code(form->BitBtn1) & DLGC_DEFPUSHBUTTON);
  EXPECT_TRUE(code(form->BitBtn2) & DLGC_UNDEFPUSHBUTTON);

  SetFocus(form->BitBtn2.hwnd());
  EXPECT_TRUE(code(form->BitBtn1) & DLGC_UNDEFPUSHBUTTON);
  EXPECT_TRUE(code(form->BitBtn2) & DLGC_DEFPUSHBUTTON);
  PressKey(VK_SPACE);
  EXPECT_EQ(form->helpPresses, 1);
  // Still drawn by the tool, whatever the dialog manager tried to restyle.
  EXPECT_EQ(GetWindowLongPtrW(form->BitBtn1.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(KeyboardTest, TypingInTheSelectorCompletesToAListEntry) {
  Drive g = Drive::RemovableWithLabel(L'G', "XYZ");
  Tick();
  HWND edit = form->DriveComboBox.EditField();
  SetFocus(edit);
  SetWindowTextW(edit, L"");
  SendMessageW(edit, WM_CHAR, L'g', 1);
  EXPECT_EQ(form->DriveComboBox.Text(), L"G:\\    [XYZ]");
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u) << "the completed part is selected, so typing on replaces it";
  EXPECT_EQ(end, 12u);

  // Backspace removes the completion and does not bring it back.
  SendMessageW(edit, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(form->DriveComboBox.Text(), L"G");
  SendMessageW(edit, WM_CHAR, L'q', 1);
  EXPECT_EQ(form->DriveComboBox.Text(), L"Gq") << "no entry begins with it";
}

}  // namespace
