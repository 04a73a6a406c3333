#include "wine_drives.h"
#include "system/replacement_file.h"
#include "system/win32.h"

#include <windows.h>
#include <winioctl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace wine_drives {
namespace {

// Wine's private request to (re)define a drive letter, as winecfg sends it.
#pragma pack(push, 8)
struct UnixDriveRequest {
  ULONG size;
  ULONG type;
  ULONG fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;
  USHORT device_offset;
  USHORT label_offset;
};
#pragma pack(pop)

constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

std::string EnvOrThrow(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(std::string(name) + " is not set: run the tests through scripts/wine-run");
  }
  return value;
}

std::string LastErrorText(const char* what) {
  std::ostringstream out;
  out << what << " failed, error " << GetLastError();
  return out.str();
}

void SendDefine(wchar_t letter, unsigned type, const std::string& unixFolder) {
  std::vector<unsigned char> buffer(sizeof(UnixDriveRequest) + unixFolder.size() + 1, 0);
  auto* request = reinterpret_cast<UnixDriveRequest*>(buffer.data());
  request->size = static_cast<ULONG>(buffer.size());
  request->type = type;
  request->letter = static_cast<WCHAR>(towlower(letter));
  if (!unixFolder.empty()) {
    request->mount_point_offset = sizeof(UnixDriveRequest);
    std::copy(unixFolder.begin(), unixFolder.end(), buffer.begin() + sizeof(UnixDriveRequest));
  }
  UniqueHandle manager(CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!manager) {
    throw std::runtime_error(LastErrorText("opening the mount manager"));
  }
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(manager.get(), kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                            0, &returned, nullptr);
  DWORD error = GetLastError();
  manager.reset();
  if (!ok) {
    SetLastError(error);
    throw std::runtime_error(LastErrorText("defining a drive"));
  }
}

}  // namespace

std::wstring ReplacementFilePattern(const std::wstring& folder) {
  const bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
  return folder + (separated ? L"" : L"\\") + kReplacementFilePrefix + L"*.tmp";
}

int ReplacementFilesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(ReplacementFilePattern(folder).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

std::string NewFolder(const std::string& name) {
  std::string path = EnvOrThrow("MPI_FIXTURE_DIR") + "/" + name;
  std::wstring dos = DosPath(path);
  // Fresh every time: remove what an earlier case left.
  std::wstring pattern = dos + L"\\*";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring entry = found.cFileName;
      if (entry == L"." || entry == L"..") continue;
      std::wstring full = dos + L"\\" + entry;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(full.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  if (!CreateDirectoryW(dos.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    throw std::runtime_error(LastErrorText("creating a fixture folder"));
  }
  return path;
}

std::string FaultyMediumFolder() {
  if (GetEnvironmentVariableW(L"MPI_FAULTY_MEDIUM", nullptr, 0) == 0) {
    throw std::runtime_error("no faulty medium: register the test with MPI_FAULTY_MEDIUM=1");
  }
  SetMediumFault("none");
  return NewFolder("faulty");
}

void SetMediumFault(const std::string& fault) {
  const std::wstring control = DosPath(EnvOrThrow("MPI_FIXTURE_DIR") + "/faulty/.fault");
  UniqueHandle file(CreateFileW(control.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), fault.data(), static_cast<DWORD>(fault.size()), &written, nullptr) ||
      written != fault.size()) {
    throw std::runtime_error(LastErrorText("setting the faulty medium's fault"));
  }
}

std::wstring DosPath(const std::string& unixPath) {
  std::wstring result = L"Z:";
  for (char c : unixPath) result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return result;
}

void WriteLabelFile(const std::string& folder, const std::string& label) {
  std::ofstream out(std::filesystem::path(DosPath(folder + "/.windows-label")), std::ios::binary | std::ios::trunc);
  out << label;
  if (!out) throw std::runtime_error("cannot write the label file in " + folder);
}

std::string ReadLabelFile(const std::string& folder) {
  std::ifstream in(std::filesystem::path(DosPath(folder + "/.windows-label")), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string ReadOnlyFolder(const std::string& name) { return EnvOrThrow("MPI_READONLY_DIR") + "/" + name; }

void DefineDrive(wchar_t letter, unsigned driveType, const std::string& unixFolder) {
  SendDefine(letter, driveType, unixFolder);
}

void UndefineDrive(wchar_t letter) { SendDefine(letter, DRIVE_NO_ROOT_DIR, {}); }

Drive::Drive(wchar_t letter, unsigned type, std::string folder)
    : letter_(letter), type_(type), folder_(std::move(folder)) {
  DefineDrive(letter_, type_, folder_);
  mapped_ = true;
}

Drive::Drive(Drive&& other) noexcept
    : letter_(other.letter_), type_(other.type_), folder_(std::move(other.folder_)), mapped_(other.mapped_) {
  other.mapped_ = false;
}

Drive::~Drive() {
  if (mapped_) {
    try {
      UndefineDrive(letter_);
    } catch (...) {
      // A destructor cannot report; the next definition of the letter
      // replaces the mapping anyway.
    }
  }
}

Drive Drive::Removable(wchar_t letter, const std::string& folder) { return Drive(letter, DRIVE_REMOVABLE, folder); }

Drive Drive::Fixed(wchar_t letter, const std::string& folder) { return Drive(letter, DRIVE_FIXED, folder); }

Drive Drive::RemovableWithLabel(wchar_t letter, const std::string& label) {
  std::string folder = NewFolder(std::string("drive-") + static_cast<char>(letter));
  if (!label.empty()) WriteLabelFile(folder, label);
  return Removable(letter, folder);
}

void Drive::Replug() {
  UndefineDrive(letter_);
  DefineDrive(letter_, type_, folder_);
  mapped_ = true;
}

void Drive::Pull() {
  if (mapped_) UndefineDrive(letter_);
  mapped_ = false;
}

}  // namespace wine_drives
