#include "system/replacement_file.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

// The read-back block: large, since every read is a system call, and a
// multiple of the volume's sector, as reads past the cache must be.
DWORD ReadBackBlock(const std::wstring& path) {
  constexpr DWORD kLarge = 1024 * 1024;
  std::vector<wchar_t> root(MAX_PATH + 1, L'\0');
  DWORD sectorsPerCluster = 0;
  DWORD sector = 0;
  DWORD freeClusters = 0;
  DWORD clusters = 0;
  if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size())) ||
      !GetDiskFreeSpaceW(root.data(), &sectorsPerCluster, &sector, &freeClusters, &clusters) || sector == 0) {
    sector = 4096;
  }
  return sector >= kLarge ? sector : kLarge / sector * sector;
}

// Memory aligned as reads past the cache need: VirtualAlloc places it on an
// allocation boundary (64 KiB), beyond any sector size.
struct PageMemory {
  explicit PageMemory(std::size_t size) : data(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~PageMemory() {
    if (data != nullptr) VirtualFree(data, 0, MEM_RELEASE);
  }
  PageMemory(const PageMemory&) = delete;
  PageMemory& operator=(const PageMemory&) = delete;
  void* data;
};

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
  if (!file_) {
    error_ = GetLastError();
    return;
  }
  writtenHash_.emplace();
}

ReplacementFile::~ReplacementFile() {
  file_.reset();
  if (!committed_ && !temporary_.empty()) DeleteFileW(temporary_.c_str());
}

BOOL ReplacementFile::Write(const void* data, DWORD size, DWORD* written) {
  *written = 0;
  if (!file_ || !writtenHash_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const BOOL wrote = WriteFile(file_.get(), data, size, written, nullptr);
  writtenHash_->Update(data, *written);
  writtenBytes_ += *written;
  return wrote;
}

DWORD ReplacementFile::Flush(const FILETIME* lastWrite) {
  if (!file_ || !writtenHash_) return error_ != 0 ? error_ : static_cast<DWORD>(ERROR_INVALID_HANDLE);
  if (!FlushFileBuffers(file_.get()) ||
      (lastWrite != nullptr && !SetFileTime(file_.get(), nullptr, nullptr, lastWrite))) {
    return GetLastError();
  }
  file_.reset();
  writtenDigest_ = writtenHash_->Finish();
  writtenHash_.reset();
  return 0;
}

ReadBackResult ReplacementFile::ReadBack(const std::function<void(std::int64_t remaining)>& progress) {
  ReadBackResult result;
  if (!writtenDigest_) {
    result.error = ERROR_INVALID_FUNCTION;
    return result;
  }
  result.written = *writtenDigest_;
  // Past the cache, so that the bytes come from the medium and not from
  // the memory that still holds what was written.
  UniqueHandle file(CreateFileW(temporary_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  const DWORD blockSize = ReadBackBlock(temporary_);
  PageMemory block(blockSize);
  if (!file || block.data == nullptr) {
    result.error = GetLastError();
    return result;
  }
  Sha256 hash;
  std::int64_t read = 0;
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file.get(), block.data, blockSize, &count, nullptr)) {
      result.error = GetLastError();
      return result;
    }
    if (count == 0) break;
    hash.Update(block.data, count);
    read += count;
    progress(std::max<std::int64_t>(writtenBytes_ - read, 0));
  }
  result.same = read == writtenBytes_ && hash.Finish() == *writtenDigest_;
  proven_ = result.same;
  return result;
}

DWORD ReplacementFile::Commit() {
  if (!proven_) return ERROR_INVALID_FUNCTION;
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
