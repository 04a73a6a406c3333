// New content for a file, written beside it and put in place only when it
// is whole and the medium has given it back unchanged. Until Commit, and
// whenever anything fails, the file at the target path stays exactly as it
// was (or absent, if it was absent); the temporary file goes with the
// object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "system/sha256.h"
#include "system/win32.h"

// What reading the written file back from the medium found.
struct ReadBackResult {
  DWORD error = 0;         // the read failed with this error; 0 if it did not
  bool same = false;       // the medium gave back exactly the bytes written
  Sha256Digest written{};  // of the bytes written
};

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
  // The bytes written so far.
  std::int64_t writtenBytes() const { return writtenBytes_; }

  // WriteFile at the end of the content. Only the bytes the system took
  // (`*written`) count as written, and only they are hashed.
  BOOL Write(const void* data, DWORD size, DWORD* written);

  // Flushes the content to the medium, gives it `lastWrite` (when not
  // null), and closes it. Returns 0, or the error code.
  DWORD Flush(const FILETIME* lastWrite = nullptr);

  // After Flush: reads the file back from the medium, past the system's
  // cache, and compares its SHA-256 and length with those of the bytes
  // written. `progress` gets the bytes still to read after each block; it
  // may throw, which stops the reading.
  ReadBackResult ReadBack(const std::function<void(std::int64_t remaining)>& progress);

  // After a ReadBack that found the same bytes: moves the file over the
  // target, replacing a read-only or hidden one as well. Returns 0, or the
  // error code; after a failure the target is as it was.
  DWORD Commit();

 private:
  std::wstring target_;
  std::wstring temporary_;
  UniqueHandle file_;
  DWORD error_ = 0;
  bool committed_ = false;
  bool proven_ = false;
  std::int64_t writtenBytes_ = 0;
  std::optional<Sha256> writtenHash_;
  std::optional<Sha256Digest> writtenDigest_;
};
