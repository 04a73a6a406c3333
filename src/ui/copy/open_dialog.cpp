#include "ui/copy/open_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "ui/copy/open_dialog_filter.h"

namespace {
// Room for the longest path the platform accepts, so that no choice is cut.
constexpr DWORD kPathCapacity = 32768;
}  // namespace

OpenDialog::OpenDialog(OpenDialogArgs args) : args_(std::move(args)), filterList_(DialogFilterList(args_.filter)) {}

std::optional<std::wstring> OpenDialog::Execute() {
  std::vector<wchar_t> path(kPathCapacity, L'\0');
  fileName.copy(path.data(), std::min<std::size_t>(fileName.size(), path.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = args_.owner;
  dialog.lpstrFilter = args_.filter.empty() ? nullptr : filterList_.c_str();
  dialog.nFilterIndex = DialogFilterIndex(args_.filterIndex);
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
  // No OFN_FILEMUSTEXIST: the caller tests the choice itself.
  dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;

  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  // As after any choice, the dialog keeps the chosen path as its file name.
  fileName = path.data();
  return fileName;
}

std::optional<std::wstring> OpenDialog::Choose(const FileChooserSetup& setup) {
  defaultExtension = setup.defaultExtension;
  title = setup.title;
  fileName = setup.fileName;
  return Execute();
}
