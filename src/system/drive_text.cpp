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

std::vector<std::wstring> ScanRoots() {
  std::vector<std::wstring> roots;
  roots.reserve(24);
  for (wchar_t letter = L'Z'; letter >= L'C'; --letter) {
    roots.push_back(DriveRoot(std::wstring_view(&letter, 1)));
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
