// Drop-down combo box: an editable text field over a sorted list. While the
// user types, the text completes to the first list entry that begins with
// what was typed; the completed part is selected so typing on replaces it.
#pragma once

#include <string>
#include <vector>

#include "ui/controls/control.h"

class ComboBox : public Control {
 public:
  std::vector<std::wstring> Items() const;
  void AddItem(const std::wstring& item);
  // Empties the list; the edit field keeps its text and caret.
  void ClearList();
  bool DroppedDown() const { return SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  HWND EditField() const { return edit_; }

  void ApplyGeometry(int dpi) override;

 protected:
  const wchar_t* ClassName() const override { return L"COMBOBOX"; }
  DWORD Style(const ControlDescription&) const override {
    return CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL;
  }
  void AfterCreate(const ControlDescription& row) override;

 private:
  static LRESULT CALLBACK EditSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void CompleteTypedText();

  HWND edit_ = nullptr;
};
