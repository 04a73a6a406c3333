#include "ui_driver.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/utf8.h"

namespace ui_driver {
namespace {

// How long a cross-process message may take before the tool counts as hung.
constexpr UINT kMessageTimeoutMs = 5000;
// Wine's message box: its text and icon controls.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0440;
// The file-name field of the open-file dialog.
constexpr int kFileNameFieldId = 1148;

std::wstring g_desktop;

bool SameClass(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return towlower(x) == towlower(y); });
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result)) return 0;
  return static_cast<LRESULT>(result);
}

struct WindowSearch {
  DWORD processId = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<WindowSearch*>(param)->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring DosPathOf(const std::string& unixPath) {
  std::wstring result = L"Z:";
  for (char c : unixPath) result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return result;
}

// Runs a shell command of the machine itself (Wine starts Unix executables
// given by path) and waits until it has made `result`. Wine cannot wait for a
// Unix process, so the command writes its result under another name and
// renames it when done.
bool RunShell(const std::wstring& command, const std::wstring& partial, const std::wstring& result) {
  DeleteFileW(DosPathOf(Utf8(result)).c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring line = L"Z:\\bin\\sh -c \"" + command + L" && mv " + partial + L" " + result + L"\"";
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  UniqueHandle thread(info.hThread);
  UniqueHandle process(info.hProcess);
  const std::wstring done = DosPathOf(Utf8(result));
  return WaitUntil([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
}

// A 24-bit BMP as ImageMagick writes it ("BMP3:"), for checking pixels.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bytes;
  size_t offset = 0;
  size_t stride = 0;
  bool topDown = false;

  bool Load(const std::string& unixPath) {
    std::ifstream in(std::filesystem::path(DosPathOf(unixPath)), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    auto u32 = [&](size_t at) {
      return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    offset = u32(10);
    width = static_cast<int>(u32(18));
    const auto rawHeight = static_cast<int32_t>(u32(22));
    topDown = rawHeight < 0;
    height = topDown ? -rawHeight : rawHeight;
    const int bits = bytes[28] | bytes[29] << 8;
    stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    return bits == 24 && offset + stride * static_cast<size_t>(height) <= bytes.size();
  }

  COLORREF At(int x, int y) const {
    const size_t row = topDown ? static_cast<size_t>(y) : static_cast<size_t>(height - 1 - y);
    const unsigned char* p = &bytes[offset + row * stride + static_cast<size_t>(x) * 3];
    return RGB(p[2], p[1], p[0]);
  }
};

}  // namespace

bool UseDesktop(const std::wstring& name, int width, int height) {
  // Wine draws a desktop as a virtual desktop of this size when the first
  // window appears on it.
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) == ERROR_SUCCESS) {
    const std::wstring size = std::to_wstring(width) + L"x" + std::to_wstring(height);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                   static_cast<DWORD>(size.size() + 1) * static_cast<DWORD>(sizeof(wchar_t)));
    RegCloseKey(key);
  }
  HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desktop == nullptr || !SetThreadDesktop(desktop)) {
    std::fprintf(stderr, "cannot use the desktop, error %lu\n", GetLastError());
    return false;
  }
  g_desktop = name;
  return true;
}

std::wstring Text(HWND window) {
  const auto length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const auto count = Send(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    items.push_back(std::move(item));
  }
  return items;
}

bool Checked(HWND checkBox) { return Send(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

std::vector<HWND> Descendants(HWND parent) {
  WindowSearch search;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&search));
  std::vector<HWND> found = std::move(search.found);
  std::stable_sort(found.begin(), found.end(), [](HWND a, HWND b) {
    RECT ra{};
    RECT rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return found;
}

HWND FindByText(HWND parent, std::wstring_view className, std::wstring_view text, bool prefix) {
  for (HWND window : Descendants(parent)) {
    if (!SameClass(ClassOf(window), className)) continue;
    const std::wstring shown = Text(window);
    if (prefix ? shown.rfind(text, 0) == 0 : shown == text) return window;
  }
  return nullptr;
}

HWND FindByClass(HWND parent, std::wstring_view className, size_t index) {
  for (HWND window : Descendants(parent)) {
    if (SameClass(ClassOf(window), className) && index-- == 0) return window;
  }
  return nullptr;
}

testing::AssertionResult Click(HWND button) {
  if (button == nullptr || !IsWindow(button)) return testing::AssertionFailure() << "no such button";
  if (!IsWindowVisible(button)) return testing::AssertionFailure() << "the button is hidden";
  if (!IsWindowEnabled(button)) return testing::AssertionFailure() << "the button is disabled";
  // Posted: a click that opens a modal box must not hold up the driver.
  PostMessageW(button, BM_CLICK, 0, 0);
  return testing::AssertionSuccess();
}

void SetText(HWND window, const std::wstring& text) {
  Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Type(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

void PressKey(WORD virtualKey, bool shift) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND Focus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  view.box = box;
  view.caption = Text(box);
  if (HWND text = GetDlgItem(box, kMessageBoxTextId)) view.text = Text(text);
  HWND icon = GetDlgItem(box, kMessageBoxIconId);
  view.hasIcon = icon != nullptr && IsWindowVisible(icon) && Send(icon, STM_GETICON, 0, 0) != 0;
  return view;
}

testing::AssertionResult PressButton(HWND box, int id) {
  const testing::AssertionResult clicked = Click(GetDlgItem(box, id));
  if (!clicked) return clicked;
  if (!WaitUntil([&] { return !IsWindow(box); }, 5000)) return testing::AssertionFailure() << "the box stays open";
  return testing::AssertionSuccess();
}

testing::AssertionResult AnswerOpenDialog(HWND dialog, const std::wstring& path) {
  HWND field = GetDlgItem(dialog, kFileNameFieldId);
  if (field == nullptr) return testing::AssertionFailure() << "the dialog has no file-name field";
  SetText(field, path);
  const testing::AssertionResult clicked = Click(GetDlgItem(dialog, IDOK));
  if (!clicked) return clicked;
  if (!WaitUntil([&] { return !IsWindow(dialog); }, 5000)) {
    return testing::AssertionFailure() << "the dialog stays open";
  }
  return testing::AssertionSuccess();
}

ToolProcess::ToolProcess(const std::wstring& exePath) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring desktop = g_desktop;
  if (!desktop.empty()) startup.lpDesktop = desktop.data();
  std::wstring commandLine = L"\"" + exePath + L"\"";
  const std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/"));
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info)) {
    ADD_FAILURE() << "cannot start the tool, error " << GetLastError();
    return;
  }
  process_.reset(info.hProcess);
  UniqueHandle(info.hThread).reset();
  id_ = info.dwProcessId;
}

ToolProcess::~ToolProcess() {
  if (!process_) return;
  if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
}

HWND ToolProcess::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(Id())) {
          if (IsWindowVisible(window) && Text(window) == caption) found = window;
        }
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND ToolProcess::WaitForOwnedWindow(HWND owner, std::wstring_view className, const std::wstring& caption,
                                     DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(Id())) {
          if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == owner &&
              SameClass(ClassOf(window), className) && Text(window) == caption) {
            found = window;
          }
        }
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

std::vector<HWND> ToolProcess::Dialogs() const {
  std::vector<HWND> dialogs;
  for (HWND window : TopLevelWindows(Id())) {
    if (IsWindowVisible(window) && SameClass(ClassOf(window), L"#32770")) dialogs.push_back(window);
  }
  return dialogs;
}

bool ToolProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

testing::AssertionResult Screenshot(HWND window, const std::string& unixPath) {
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const std::string raw = unixPath + ".bmp";
  const std::wstring crop = std::to_wstring(width) + L"x" + std::to_wstring(height) + L"+" +
                            std::to_wstring(frame.left) + L"+" + std::to_wstring(frame.top);
  // The virtual desktop fills the display from its top-left corner, so
  // window coordinates are display coordinates. Wine puts a new window on
  // the display a while after it exists: take shots until the client area
  // shows the window's own background rather than the desktop's.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int faceShare = 0;
  const bool drawn = WaitUntil(
      [&] {
        if (!RunShell(L"/usr/bin/import -window root -crop " + crop + L" +repage BMP3:" + WideText(raw) + L".part",
                      WideText(raw) + L".part", WideText(raw))) {
          return false;
        }
        Bitmap shot;
        if (!shot.Load(raw) || shot.width != width || shot.height != height) return false;
        int matching = 0;
        int total = 0;
        for (int y = origin.y - frame.top; y < origin.y - frame.top + client.bottom; y += 4) {
          for (int x = origin.x - frame.left; x < origin.x - frame.left + client.right; x += 4) {
            ++total;
            if (shot.At(x, y) == face) ++matching;
          }
        }
        faceShare = total == 0 ? 0 : matching * 100 / total;
        return faceShare >= 40;
      },
      20000);
  if (!drawn) {
    return testing::AssertionFailure() << "the window did not show on the display (" << faceShare
                                       << "% of its client area in the button-face colour)";
  }
  const bool converted =
      RunShell(L"/usr/bin/convert BMP3:" + WideText(raw) + L" -strip PNG24:" + WideText(unixPath) + L".part",
               WideText(unixPath) + L".part", WideText(unixPath));
  DeleteFileW(DosPathOf(raw).c_str());
  if (!converted) {
    return testing::AssertionFailure() << "no PNG was written to " << unixPath;
  }
  return testing::AssertionSuccess();
}

}  // namespace ui_driver
