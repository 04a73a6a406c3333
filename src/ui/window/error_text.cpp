#include "ui/window/error_text.h"

std::wstring ErrorBoxText(const std::wstring& message) {
  std::wstring text = message;
  if (!text.empty() && text.back() > L'.') {
    text += L'.';
  }
  return text;
}
