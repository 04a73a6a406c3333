// OpenDialog1: the common open-file dialog with the settings the window
// description gives it, shown modally over its owner.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/copy/installer_copy.h"

// Filter list of OpenDialog1 in the window description.
inline constexpr wchar_t kOpenDialog1Filter[] = L"Aplikacje|*.exe|Wszystkie pliki|*.*";

struct OpenDialogArgs {
  HWND owner = nullptr;
  // Written form: name|pattern pairs separated by "|".
  std::wstring filter;
  // 0 and 1 both select the first filter.
  int filterIndex = 0;
};

class OpenDialog final : public FileChooser {
 public:
  explicit OpenDialog(OpenDialogArgs args);

  // Set before each Execute; they stay set until changed.
  std::wstring title;
  std::wstring defaultExtension;
  std::wstring fileName;

  // Shows the dialog modally: the chosen path, or nothing when the user
  // cancelled. The path need not name an existing file.
  std::optional<std::wstring> Execute();

  std::optional<std::wstring> Choose(const FileChooserSetup& setup) override;

 private:
  OpenDialogArgs args_;
  std::wstring filterList_;
};
