#include "system/replacement_file.h"

#include <utility>
#include <vector>

namespace {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

}  // namespace

ReplacementFile::ReplacementFile(std::wstring target) : target_(std::move(target)) {
  std::vector<wchar_t> name(MAX_PATH + 1, L'\0');
  if (GetTempFileNameW(FolderOf(target_).c_str(), kReplacementFilePrefix, 0, name.data()) == 0) {
    error_ = GetLastError();
    return;
  }
  temporary_ = name.data();
  file_.reset(CreateFileW(temporary_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) error_ = GetLastError();
}

ReplacementFile::~ReplacementFile() {
  file_.reset();
  if (!committed_ && !temporary_.empty()) DeleteFileW(temporary_.c_str());
}

DWORD ReplacementFile::Commit(const FILETIME* lastWrite) {
  if (!file_) return error_ != 0 ? error_ : static_cast<DWORD>(ERROR_INVALID_HANDLE);
  if (!FlushFileBuffers(file_.get()) ||
      (lastWrite != nullptr && !SetFileTime(file_.get(), nullptr, nullptr, lastWrite))) {
    return GetLastError();
  }
  file_.reset();
  // A read-only, hidden or system file is not replaced by a move; its
  // attributes come back when the move fails.
  const DWORD old = GetFileAttributesW(target_.c_str());
  const bool cleared = old != INVALID_FILE_ATTRIBUTES &&
                       (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 &&
                       SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if (cleared) SetFileAttributesW(target_.c_str(), old);
    return error;
  }
  committed_ = true;
  return 0;
}
