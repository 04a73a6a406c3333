#include "system/drive_text.h"

#include <algorithm>

std::wstring DriveRoot(std::wstring_view text) {
  std::wstring root(text.substr(0, 1));
  root += L":\\";
  return root;
}

std::wstring SelectorRoot(std::wstring_view selectorText) {
  std::wstring padded(selectorText);
  padded += L' ';
  return DriveRoot(padded);
}

std::wstring DriveEntry(std::wstring_view root, std::wstring_view label) {
  std::wstring entry(root);
  entry += L"    [";
  entry += label;
  entry += L']';
  return entry;
}

std::vector<std::wstring> ScanRoots() { return ScanRoots(0); }

std::vector<std::wstring> ScanRoots(std::uint32_t presentLetters) {
  std::vector<std::wstring> roots;
  roots.reserve(24);
  for (wchar_t letter = L'Z'; letter >= L'C'; --letter) {
    const std::uint32_t bit = std::uint32_t{1} << (letter - L'A');
    if (presentLetters == 0 || (presentLetters & bit) != 0) {
      roots.push_back(DriveRoot(std::wstring_view(&letter, 1)));
    }
  }
  return roots;
}

bool CopyToFixedBuffer(std::wstring_view text, wchar_t* buffer, std::size_t capacity) {
  if (buffer == nullptr || capacity == 0 || text.size() >= capacity) {
    return false;
  }
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = L'\0';
  return true;
}
