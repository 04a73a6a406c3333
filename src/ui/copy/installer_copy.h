// The installer copy: the user picks the installer file, and it is copied
// block by block into the target's root under the installer file name, with
// its size, the bytes still to copy and the outcome in the progress log.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/progress_log.h"

// What the file chooser is told before it is shown.
struct FileChooserSetup {
  std::wstring title;
  std::wstring defaultExtension;  // appended to a typed name that has none
  std::wstring fileName;          // preset in the name box
};

// The open-file dialog as the copy sees it. The window binds OpenDialog1
// (ui/open_dialog.h); tests answer directly.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen path, or nothing when the user cancelled. The path need not
  // name an existing file: the copy tests that itself.
  virtual std::optional<std::wstring> Choose(const FileChooserSetup& setup) = 0;
};

// Title, default extension and preset name the copy gives the chooser.
FileChooserSetup InstallerChooserSetup(const std::wstring& fileName);

// Lets the user choose the installer and copies it to targetRoot + fileName.
// A file operation that fails shows only in the counts and in the outcome
// line ("Ok" or "Błąd"). Once every byte is written, the file is read back
// from the medium (ui/check/read_back.h); when the medium gives other bytes
// back, or cannot be read, the outcome is "Błąd" and the error box's text
// leaves as std::runtime_error. The target gets the source's last-write time
// (to the even second below) and attributes. processMessages runs once per
// block, of the copy and of the check, so that the window stays responsive;
// handlers may run nested inside it, and an exception from it stops the
// work with the target as it was.
//
// Choosing the target file itself leaves it untouched and reports it as
// copied.
void CopyInstallerFromFile(const std::wstring& fileName, const std::wstring& targetRoot, FileChooser& chooser,
                           ProgressLog& log, const std::function<void()>& processMessages);
