#include "ui/taskbar_rules.h"

#include <cwctype>
#include <optional>

namespace {

// The decimal number at the start of `text`, and what follows it.
std::optional<std::uint64_t> LeadingNumber(std::wstring_view text, std::wstring_view& rest) {
  std::uint64_t value = 0;
  std::size_t at = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    if (value > (UINT64_MAX - 9) / 10) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(text[at] - L'0');
  }
  if (at == 0) return std::nullopt;
  rest = text.substr(at);
  return value;
}

bool EndsWith(std::wstring_view text, std::wstring_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool StartsWith(std::wstring_view text, std::wstring_view start) { return text.substr(0, start.size()) == start; }

}  // namespace

TaskbarView TaskbarAfterLine(const TaskbarView& before, std::wstring_view line) {
  if (before.state == TaskbarState::Error) return before;
  if (line == L"Błąd" || EndsWith(line, L"- Niepowodzenie")) return {TaskbarState::Error, 0, 0};
  if (EndsWith(line, L"- Sukces")) return {TaskbarState::Normal, 100, 100};
  if (line == L"Rozpoczęto pobieranie pliku") return kTaskbarWorkStarted;
  std::wstring_view rest;
  if (StartsWith(line, L"Pobieram dane : ")) {
    const std::optional<std::uint64_t> value = LeadingNumber(line.substr(16), rest);
    if (value && rest == L" %" && *value <= 100) return {TaskbarState::Normal, *value, 100};
    return kTaskbarWorkStarted;
  }
  if (StartsWith(line, L"Kopiuję ") && EndsWith(line, L" bytes")) {
    // The size is the last word before " bytes"; the path before it may
    // hold blanks and digits of its own.
    const std::wstring_view head = line.substr(0, line.size() - 6);
    const std::size_t blank = head.find_last_of(L' ');
    const std::optional<std::uint64_t> size = LeadingNumber(head.substr(blank + 1), rest);
    if (size && rest.empty()) return {TaskbarState::Normal, 0, *size};
    return before;
  }
  if (StartsWith(line, L"Pozostało : ") && before.state == TaskbarState::Normal) {
    const std::optional<std::uint64_t> remaining = LeadingNumber(line.substr(12), rest);
    if (remaining && rest == L" bytes" && *remaining <= before.total) {
      return {TaskbarState::Normal, before.total - *remaining, before.total};
    }
    return before;
  }
  // The read-back check fills the bar again: its first count is the whole.
  if (StartsWith(line, L"Sprawdzam zapis ")) return kTaskbarWorkStarted;
  if (StartsWith(line, L"Do sprawdzenia : ")) {
    const std::optional<std::uint64_t> remaining = LeadingNumber(line.substr(17), rest);
    if (!remaining || rest != L" bytes") return before;
    if (before.state == TaskbarState::Indeterminate) return {TaskbarState::Normal, 0, *remaining};
    if (*remaining <= before.total) return {TaskbarState::Normal, before.total - *remaining, before.total};
    return before;
  }
  if (line == L"Ok" && before.state == TaskbarState::Normal) return {TaskbarState::Normal, before.total, before.total};
  return before;
}

void TaskbarLog::AppendLine(const std::wstring& line) {
  log_.AppendLine(line);
  Set(TaskbarAfterLine(view_, line));
}

void TaskbarLog::ReplaceLastLine(const std::wstring& line) {
  log_.ReplaceLastLine(line);
  Set(TaskbarAfterLine(view_, line));
}

void TaskbarLog::Set(const TaskbarView& view) {
  if (view == view_) return;
  view_ = view;
  taskbar_().Show(view_);
}
