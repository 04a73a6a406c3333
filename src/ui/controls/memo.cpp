#include "ui/controls/memo.h"

#include <commctrl.h>

void Memo::AfterCreate(const ControlDescription&) {
  // The log must never fill up: lift the edit's default 32K limit.
  SendMessageW(hwnd_, EM_LIMITTEXT, 0, 0);
  SetWindowSubclass(hwnd_, SubclassProc, 0, 0);
}

int Memo::LineCount() const {
  int count = static_cast<int>(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0));
  if (count > 0) {
    const auto start = SendMessageW(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
    if (SendMessageW(hwnd_, EM_LINELENGTH, static_cast<WPARAM>(start), 0) == 0) --count;
  }
  return count;
}

std::wstring Memo::Line(int index) const {
  const auto start = SendMessageW(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  if (start < 0) return {};
  const auto length = SendMessageW(hwnd_, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  // EM_GETLINE wants the capacity in the buffer's first word, and at least
  // one character of room.
  std::wstring line(static_cast<size_t>(length) + 1, L'\0');
  line[0] = static_cast<wchar_t>(line.size());
  const auto copied =
      SendMessageW(hwnd_, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.data()));
  line.resize(static_cast<size_t>(copied));
  return line;
}

std::wstring Memo::LastLine() const {
  const int count = LineCount();
  return count == 0 ? std::wstring() : Line(count - 1);
}

void Memo::ReplaceRange(int start, int end, const std::wstring& text) {
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), end);
  SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

void Memo::AppendLine(const std::wstring& line) {
  const int length = TextLength();
  // An empty log, or one that ends in a line break, shows an empty last
  // line: the new line goes there instead of below it.
  const int shown = static_cast<int>(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0));
  const bool onEmptyLine = LineCount() < shown;
  ReplaceRange(length, length, onEmptyLine ? line : L"\r\n" + line);
}

void Memo::ReplaceLastLine(const std::wstring& line) {
  const int count = LineCount();
  if (count == 0) {
    AppendLine(line);
    return;
  }
  const auto start = static_cast<int>(SendMessageW(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0));
  const auto length = static_cast<int>(SendMessageW(hwnd_, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
  ReplaceRange(start, start + length, line);
}

LRESULT CALLBACK Memo::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      // Tab leaves the log for the next control, as in any other control;
      // the edit itself would do nothing with it.
      if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_TAB) {
        code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
      }
      return code;
    }
    case WM_KEYDOWN:
      // Esc is the log's own: it must neither press the close button nor
      // close the window (a multi-line edit posts WM_CLOSE to its parent).
      if (wParam == VK_ESCAPE) return 0;
      break;
    case WM_CHAR:
      if (wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}
