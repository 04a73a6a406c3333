// Upper-casing by the platform's rules, as the user's typing is compared.
#include "ui/download/download_text.h"

#include <windows.h>

std::wstring PlatformUpperCase(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}
