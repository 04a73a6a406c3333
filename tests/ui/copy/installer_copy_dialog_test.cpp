// OpenDialog1 as the real common dialog: a second thread finds it, reads
// what it shows and answers it, as a user would.
#include "ui/copy/open_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "dialog_answerer.h"
#include "system/win32.h"
#include "wine_drives.h"

namespace {

constexpr int kFileNameBox = 1148;  // cmb13
constexpr int kFilterBox = 1136;    // cmb1
constexpr int kReadOnlyBox = 1040;  // chx1

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(std::size(text)), reinterpret_cast<LPARAM>(text));
  return text;
}

// What the dialog showed when it came up. Filled by the answering thread,
// checked on the test's own thread once it has been joined.
struct Shown {
  bool found = false;
  std::wstring title;
  std::wstring fileName;
  std::wstring filter;
  bool readOnlyBoxVisible = true;
  bool sizable = false;
  bool refused = false;  // still open after the answer
};

enum class Answer { kCancel, kOk };

BOOL CALLBACK PressOkOnOwned(HWND window, LPARAM owner) {
  if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner)) PressDialogButton(window, IDOK);
  return TRUE;
}

// Waits for the dialog titled `title`, notes what it shows, types `typed`
// into the name box (when not empty) and presses OK or Cancel.
std::unique_ptr<DialogAnswerer> AnswerDialog(const std::wstring& title, Shown& shown, const std::wstring& typed,
                                             Answer answer) {
  return std::make_unique<DialogAnswerer>(DialogAnswerer::Match{title}, [&shown, typed, answer](HWND dialog) {
    shown.found = true;
    shown.title = TextOf(dialog);
    shown.fileName = TextOf(GetDlgItem(dialog, kFileNameBox));
    shown.filter = TextOf(GetDlgItem(dialog, kFilterBox));
    HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
    shown.readOnlyBoxVisible = readOnly != nullptr && IsWindowVisible(readOnly);
    shown.sizable = (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
    if (!typed.empty()) {
      SendMessageW(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    }
    PressDialogButton(dialog, answer == Answer::kOk ? IDOK : IDCANCEL);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (IsWindow(dialog)) {
      // The dialog refused the answer (for example with a message box about
      // the name): close whatever it raised and cancel, so that a fault ends
      // in a failed check instead of a hung test.
      shown.refused = true;
      EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), PressOkOnOwned, reinterpret_cast<LPARAM>(dialog));
      PressDialogButton(dialog, IDCANCEL);
    }
  });
}

OpenDialog OpenDialog1() { return OpenDialog(OpenDialogArgs{nullptr, kOpenDialog1Filter, 0}); }

TEST(OpenDialogTest, ShowsTheInstallerSetUpAndCancelGivesNothing) {
  OpenDialog dialog = OpenDialog1();
  Shown shown;
  std::unique_ptr<DialogAnswerer> user = AnswerDialog(L"Wybierz plik instalatora", shown, L"", Answer::kCancel);
  std::optional<std::wstring> chosen = dialog.Choose(InstallerChooserSetup(L"dvl.exe"));
  user->Wait();

  ASSERT_TRUE(shown.found);
  EXPECT_EQ(shown.fileName, L"dvl.exe");
  // Filter index 0 selects the first filter.
  EXPECT_EQ(shown.filter, L"Aplikacje");
  EXPECT_FALSE(shown.readOnlyBoxVisible);
  EXPECT_TRUE(shown.sizable);
  EXPECT_FALSE(chosen.has_value());
}

void CreateEmptyFile(const std::wstring& path) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
}

struct TypedCase {
  const wchar_t* typed;
  const wchar_t* expected;
};

TEST(OpenDialogTest, GivesTheTypedPathWithoutRequiringAnExistingFile) {
  const std::wstring folder = wine_drives::DosPath(wine_drives::NewFolder("dialog"));
  CreateEmptyFile(folder + L"\\instalator.exe");
  CreateEmptyFile(folder + L"\\notatki.txt");

  const TypedCase cases[] = {
      // The extension of the shown filter completes a name typed without one.
      {L"instalator", L"instalator.exe"},
      // No file of this name exists: the dialog still gives it back.
      {L"nowy.exe", L"nowy.exe"},
      {L"notatki.txt", L"notatki.txt"},
  };
  OpenDialog dialog = OpenDialog1();
  for (const TypedCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
    Shown shown;
    std::unique_ptr<DialogAnswerer> user =
        AnswerDialog(L"Wybierz plik instalatora", shown, folder + L"\\" + c.typed, Answer::kOk);
    std::optional<std::wstring> chosen = dialog.Choose(InstallerChooserSetup(L"dvl.exe"));
    user->Wait();

    ASSERT_TRUE(shown.found);
    EXPECT_FALSE(shown.refused);
    // Every call presets the installer name again, whatever was chosen before.
    EXPECT_EQ(shown.fileName, L"dvl.exe");
    EXPECT_EQ(chosen, folder + L"\\" + c.expected);
  }
}

TEST(OpenDialogTest, ExecuteUsesWhatWasSetAndKeepsTheChosenPath) {
  const std::wstring folder = wine_drives::DosPath(wine_drives::NewFolder("dialog"));
  CreateEmptyFile(folder + L"\\dane.bin");
  // The second filter shows every file, so the default extension is what
  // completes a typed name.
  OpenDialog dialog(OpenDialogArgs{nullptr, kOpenDialog1Filter, 2});
  dialog.title = L"Inny tytuł";
  dialog.defaultExtension = L"bin";
  dialog.fileName = L"wstepny.bin";
  Shown shown;
  std::unique_ptr<DialogAnswerer> user = AnswerDialog(L"Inny tytuł", shown, folder + L"\\dane", Answer::kOk);
  std::optional<std::wstring> chosen = dialog.Execute();
  user->Wait();

  ASSERT_TRUE(shown.found);
  EXPECT_EQ(shown.fileName, L"wstepny.bin");
  EXPECT_EQ(shown.filter, L"Wszystkie pliki");
  EXPECT_EQ(chosen, folder + L"\\dane.bin");
  EXPECT_EQ(dialog.fileName, folder + L"\\dane.bin");
}

}  // namespace
