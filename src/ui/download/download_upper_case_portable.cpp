// Upper-casing for the native build, where the rules are tested: the C
// library's, which in the default locale covers the letters a to z. The
// product build uses the platform's (download_upper_case_win32.cpp).
#include "ui/download/download_text.h"

#include <cwctype>

std::wstring PlatformUpperCase(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
  return upper;
}
