// The progress log: a word-wrapped multi-line edit without scroll bars that
// the user may also type into. Lines are the lines as shown, so a wrapped
// text counts as several lines and the last line is its last shown piece.
// A trailing empty line (after a line break) is not counted, so the log's
// last line is the last one with text after it.
#pragma once

#include "ui/controls/control.h"
#include "ui/progress_log.h"

class Memo : public Control, public ProgressLog {
 public:
  void AppendLine(const std::wstring& line) override;
  void ReplaceLastLine(const std::wstring& line) override;
  std::wstring LastLine() const override;
  int LineCount() const;
  std::wstring Line(int index) const;

 protected:
  const wchar_t* ClassName() const override { return L"EDIT"; }
  // ES_AUTOVSCROLL: without it the edit refuses text beyond the lines it
  // can show. ES_WANTRETURN: Enter starts a new line instead of pressing
  // the default button.
  DWORD Style(const ControlDescription&) const override { return ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void AfterCreate(const ControlDescription& row) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  int TextLength() const { return GetWindowTextLengthW(hwnd_); }
  void ReplaceRange(int start, int end, const std::wstring& text);
};
