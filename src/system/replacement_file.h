// New content for a file, written beside it and put in place only when it
// is whole. Until Commit, and whenever anything fails, the file at the
// target path stays exactly as it was (or absent, if it was absent); the
// temporary file goes with the object.
#pragma once

#include <windows.h>

#include <string>

#include "system/win32.h"

// Temporary files are "<prefix>XXXX.tmp" in the target's folder.
inline constexpr wchar_t kReplacementFilePrefix[] = L"mpi";

class ReplacementFile {
 public:
  // Creates the temporary file in the target's folder, named "mpiXXXX.tmp"
  // by the platform so that it cannot be mistaken for the target, opened
  // for reading and writing and shared with nobody.
  explicit ReplacementFile(std::wstring target);
  // Removes the temporary file unless it was committed.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Whether the temporary file is there to be written; error() says why not.
  bool valid() const { return file_.valid(); }
  DWORD error() const { return error_; }
  HANDLE handle() const { return file_.get(); }

  // Flushes the content to the medium, gives it `lastWrite` (when not
  // null), and moves it over the target, replacing a read-only or hidden
  // one as well. Returns 0, or the error code; after a failure the target
  // is as it was.
  DWORD Commit(const FILETIME* lastWrite = nullptr);

 private:
  std::wstring target_;
  std::wstring temporary_;
  UniqueHandle file_;
  DWORD error_ = 0;
  bool committed_ = false;
};
