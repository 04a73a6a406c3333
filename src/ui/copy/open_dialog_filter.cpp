#include "ui/copy/open_dialog_filter.h"

std::wstring DialogFilterList(std::wstring_view pipeSeparated) {
  std::wstring list(pipeSeparated);
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  // Both closing zeros are part of the text, so the list survives being
  // copied or measured by its size.
  list.append(2, L'\0');
  return list;
}

unsigned DialogFilterIndex(int filterIndex) { return filterIndex < 1 ? 1u : static_cast<unsigned>(filterIndex); }
