#include "ui/controls/combo_box.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

// Entries the dropped-down list shows before it scrolls.
constexpr int kDropDownRows = 8;
// Border of the closed combo box around its selection field.
constexpr int kFieldFrame = 6;

}  // namespace

void ComboBox::AfterCreate(const ControlDescription&) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(hwnd_, &info)) edit_ = info.hwndItem;
  if (edit_ != nullptr) SetWindowSubclass(edit_, EditSubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void ComboBox::ApplyGeometry(int dpi) {
  // The description gives the closed height; the window's height also
  // holds the dropped-down list.
  const Bounds b = ScaleToDpi(ClientBounds(), dpi);
  const int field = b.height - ScaleToDpi(kFieldFrame, dpi);
  SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  const int item = static_cast<int>(SendMessageW(hwnd_, CB_GETITEMHEIGHT, 0, 0));
  Control::ApplyGeometry(dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, b.width, b.height + kDropDownRows * item + 2,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

std::vector<std::wstring> ComboBox::Items() const {
  std::vector<std::wstring> items;
  const auto count = SendMessageW(hwnd_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(length));
    items.push_back(std::move(item));
  }
  return items;
}

void ComboBox::AddItem(const std::wstring& item) {
  const auto result = SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (result == CB_ERR || result == CB_ERRSPACE) throw std::runtime_error("Cannot add an entry to the drive list");
}

void ComboBox::ClearList() {
  const std::wstring text = Text();
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  SetWindowTextW(hwnd_, text.c_str());
  SendMessageW(hwnd_, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void ComboBox::CompleteTypedText() {
  const std::wstring typed = Text();
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // Only typing at the end of the text completes it.
  if (typed.empty() || end != typed.size()) return;
  const auto found =
      SendMessageW(hwnd_, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str()));
  if (found == CB_ERR) return;
  SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  SendMessageW(hwnd_, CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), -1));
}

LRESULT CALLBACK ComboBox::EditSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, EditSubclassProc, 0);
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  // Complete after a typed character only: after Backspace or Delete the
  // user is taking text away and must be allowed to.
  if (message == WM_CHAR && wParam >= L' ' && wParam != 0x7F) {
    reinterpret_cast<ComboBox*>(self)->CompleteTypedText();
  }
  return result;
}
