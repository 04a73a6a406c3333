#include "ui/copy/installer_copy.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

#include "common/utf8.h"
#include "system/replacement_file.h"
#include "system/win32.h"
#include "ui/check/read_back.h"
#include "ui/copy/copy_action_rules.h"

namespace {

// An invalid handle stands for "did not open", which the copy carries on
// with rather than stopping.
UniqueHandle OpenFile(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition) {
  return UniqueHandle(CreateFileW(path.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool IsExistingFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

struct FileIdentity {
  DWORD volumeSerial;
  DWORD indexHigh;
  DWORD indexLow;
  std::int64_t size;
};

// Identity of a file whatever its path is spelt like (other letter case, a
// second drive letter for the same folder). Opening without data access
// does not collide with how others have the file open.
std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
  UniqueHandle file = OpenFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return FileIdentity{
      info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow,
      static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow)};
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.volumeSerial == b.volumeSerial && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

std::int64_t SizeOf(const UniqueHandle& file) {
  LARGE_INTEGER size;
  if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return -1;
  return size.QuadPart;
}

// The last-write time goes through the DOS date and time, as a FAT medium
// would store it: the fraction of a second is dropped and an odd second
// taken down. A time the DOS format cannot hold gives nothing, and the
// target keeps its own.
std::optional<FILETIME> FatLastWriteTime(const UniqueHandle& source) {
  WORD dosDate = 0;
  WORD dosTime = 0;
  FILETIME written;
  FILETIME local;
  SYSTEMTIME civil;
  if (!source.valid() || !GetFileTime(source.get(), nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &civil) ||
      !DosDateTimeHoldsYear(civil.wYear) || !FileTimeToDosDateTime(&local, &dosDate, &dosTime)) {
    return std::nullopt;
  }
  FILETIME universal;
  if (!DosDateTimeToFileTime(dosDate, dosTime, &local) || !LocalFileTimeToFileTime(&local, &universal)) {
    return std::nullopt;
  }
  return universal;
}

void CarryAttributes(const std::wstring& sourcePath, const std::wstring& targetPath) {
  DWORD attributes = GetFileAttributesW(sourcePath.c_str());
  // Unreadable attributes leave the target's as they are rather than
  // setting the error value as attributes.
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(targetPath.c_str(), attributes);
}

}  // namespace

FileChooserSetup InstallerChooserSetup(const std::wstring& fileName) {
  return FileChooserSetup{L"Wybierz plik instalatora", L"exe", fileName};
}

void CopyInstallerFromFile(const std::wstring& fileName, const std::wstring& targetRoot, FileChooser& chooser,
                           ProgressLog& log, const std::function<void()>& processMessages) {
  std::optional<std::wstring> chosen = chooser.Choose(InstallerChooserSetup(fileName));
  if (!chosen || !IsExistingFile(*chosen)) return;
  const std::wstring& sourcePath = *chosen;
  const std::wstring targetPath = InstallerTargetPath(targetRoot, fileName);

  // Removing the target first would destroy the chosen file when it is the
  // target itself; the installer is then already in place.
  std::optional<FileIdentity> source = IdentityOf(sourcePath);
  std::optional<FileIdentity> target = IdentityOf(targetPath);
  if (source && target && SameFile(*source, *target)) {
    log.AppendLine(CopySizeLine(targetPath, source->size));
    log.AppendLine(CopyRemainingLine(0));
    log.AppendLine(CopyOutcomeLine(0));
    return;
  }

  // Written beside the target and put in place only once whole: a copy
  // that fails leaves the installer already on the drive as it was.
  ReplacementFile replacement(targetPath);
  UniqueHandle sourceFile = OpenFile(sourcePath, GENERIC_READ, kShareReadWrite, OPEN_EXISTING);
  const std::int64_t size = SizeOf(sourceFile);

  log.AppendLine(CopySizeLine(targetPath, size));
  log.AppendLine(CopyRemainingLine(size));

  CopyCounter counter(size);
  std::array<char, 4096> block;
  bool more = true;
  while (more) {
    DWORD readCount = 0;
    DWORD writtenCount = 0;
    if (sourceFile.valid() &&
        !ReadFile(sourceFile.get(), block.data(), static_cast<DWORD>(block.size()), &readCount, nullptr)) {
      readCount = 0;
    }
    if (replacement.valid() && !replacement.Write(block.data(), readCount, &writtenCount)) writtenCount = 0;
    more = counter.CountBlock(readCount, writtenCount);
    processMessages();
    log.ReplaceLastLine(CopyRemainingLine(counter.remaining()));
  }
  // "Ok" only once every byte is on the medium, read back from it as it
  // was written, under the installer's name.
  bool copied = counter.remaining() == 0 && replacement.valid();
  std::optional<std::wstring> misread;
  if (copied) {
    const std::optional<FILETIME> lastWrite = FatLastWriteTime(sourceFile);
    sourceFile.reset();
    copied = replacement.Flush(lastWrite ? &*lastWrite : nullptr) == 0;
    if (copied) misread = ReadBackInstaller(replacement, targetPath, log, processMessages);
    copied = copied && !misread && replacement.Commit() == 0;
  }
  sourceFile.reset();
  // Bytes that all went but could not be put in place are a failure too.
  log.AppendLine(CopyOutcomeLine(copied ? 0 : std::max<std::int64_t>(counter.remaining(), 1)));
  if (copied) CarryAttributes(sourcePath, targetPath);
  if (misread) throw std::runtime_error(Utf8(*misread));
}
