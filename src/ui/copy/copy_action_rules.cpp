#include "ui/copy/copy_action_rules.h"

std::wstring UpperCaseAsciiLetters(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return result;
}

bool LabelConfirmsProduct(std::wstring_view labelReadBack) {
  return UpperCaseAsciiLetters(labelReadBack).find(kProductLabel) != std::wstring::npos;
}

InstallerStep ChooseInstallerStep(bool downloadOption, bool installerOption) {
  if (downloadOption) return installerOption ? InstallerStep::kDownload : InstallerStep::kNone;
  return installerOption ? InstallerStep::kCopyFromFile : InstallerStep::kNone;
}

std::wstring InstallerTargetPath(std::wstring_view targetRoot, std::wstring_view fileName) {
  std::wstring path(targetRoot);
  path += fileName;
  return path;
}

std::wstring CopySizeLine(std::wstring_view targetPath, std::int64_t size) {
  std::wstring line = L"Kopiuję ";
  line += targetPath;
  line += L"  ";
  line += std::to_wstring(size);
  line += L" bytes";
  return line;
}

std::wstring CopyRemainingLine(std::int64_t remaining) {
  return L"Pozostało : " + std::to_wstring(remaining) + L" bytes";
}

std::wstring CopyOutcomeLine(std::int64_t remaining) { return remaining == 0 ? L"Ok" : L"Błąd"; }

bool CopyCounter::CountBlock(std::uint32_t readCount, std::uint32_t writtenCount) {
  remaining_ -= writtenCount;
  return readCount != 0 && writtenCount == readCount;
}

bool DosDateTimeHoldsYear(int localYear) { return localYear >= 1980 && localYear <= 2107; }
