#include "ui/window/window.h"

#include <stdexcept>
#include <utility>

#include "resources/resource.h"
#include "system/win32.h"
#include "ui/window/dpi.h"
#include "ui/window/message_box.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr UINT kRunHandlerMessage = WM_APP + 1;
static_assert(kRunHandlerMessage < kFirstOwnMessage);

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, HBRUSH background, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  if (RegisterClassExW(&wc) == 0) throw std::runtime_error("Cannot register a window class");
}

}  // namespace

Window::~Window() { DestroyHandle(); }

void Window::CreateHandle(const WindowClass& windowClass, const CreateArgs& args) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, windowClass.name, windowClass.background, &Window::WindowProc);
  const std::wstring caption(args.caption);
  // lpParam carries the object to WM_NCCREATE, where WindowProc binds it.
  HWND hwnd = CreateWindowExW(args.exStyle, windowClass.name, caption.c_str(), args.style, args.position.x,
                              args.position.y, args.size.cx, args.size.cy, args.owner, nullptr, instance, this);
  if (hwnd == nullptr) throw std::runtime_error("Cannot create a window");
  dpi_ = WindowDpi(hwnd_);
}

void Window::DestroyHandle() {
  for (Timer* timer : timers_) timer->SetEnabled(false);
  if (HWND dying = std::exchange(hwnd_, nullptr)) {
    // Gone with the object: no window procedure runs on a dying window.
    SetWindowLongPtrW(dying, GWLP_USERDATA, 0);
    DestroyWindow(dying);
  }
}

void Window::CreateControls(std::span<const ControlDescription> rows,
                            const std::function<Control*(std::wstring_view)>& byName) {
  for (const ControlDescription& row : rows) {
    Control* control = byName(row.name);
    Control* container = row.container.empty() ? nullptr : byName(row.container);
    if (control == nullptr || (!row.container.empty() && container == nullptr)) {
      throw std::logic_error("The window description names an unknown control");
    }
    control->Create(hwnd_, row, container);
    if (container != nullptr) container->Adopt(*control);
    controls_.push_back(control);
  }
}

void Window::AttachTimer(Timer& timer) {
  timer.Attach(hwnd_);
  timers_.push_back(&timer);
}

void Window::ApplyFont(std::wstring_view face, int pixelsAt96Dpi) {
  const FontRequest request = FontForDpi(face, pixelsAt96Dpi, dpi_);
  // Central European: every Windows then picks the face of the font that
  // has the Polish letters, whatever the system's own language.
  UniqueFont font(CreateFontW(-request.pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                              request.outlineOnly ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, request.face.c_str()));
  if (!font) throw std::runtime_error("Cannot create the window font");
  for (Control* control : controls_) {
    SendMessageW(control->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  // The controls have let go of the old font only now.
  font_ = std::move(font);
}

void Window::SetClientSize(int width, int height) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right == width && client.bottom == height) return;
  const SIZE outer = OuterSizeForClient(width, height);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Window::OuterSizeForClient(int width, int height) const {
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  return {width + (outer.right - outer.left) - client.right, height + (outer.bottom - outer.top) - client.bottom};
}

void Window::ShowCentred() {
  RECT frame{};
  GetWindowRect(hwnd_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void Window::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitRequested_ = true;
      continue;
    }
    TranslateAndDispatch(msg);
  }
}

void Window::TranslateAndDispatch(MSG& msg) {
  if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Window::RunHandler(const std::function<void()>& action) {
  SendMessageW(hwnd_, kRunHandlerMessage, 0, reinterpret_cast<LPARAM>(&action));
}

void Window::Close() {
  closePending_ = true;
  if (handlerDepth_ == 0 && hwnd_ != nullptr) {
    closePending_ = false;
    DestroyWindow(hwnd_);
  }
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->Dispatch(message, wParam, lParam);
}

// The one boundary every handler runs behind: no exception unwinds into the
// window system, the user sees the error, and the loop goes on.
LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  ++handlerDepth_;
  LRESULT result = 0;
  try {
    result = HandleMessage(message, wParam, lParam);
  } catch (const WorkStopped&) {
    // The user asked for it: nothing to report.
  } catch (const std::exception& error) {
    ShowError(WideText(error.what()));
  } catch (...) {
    ShowError(L"Nieznany błąd");
  }
  // A close asked for while a handler was running (from inside its message
  // pump) waits until that handler has returned to the loop.
  if (--handlerDepth_ == 0 && closePending_ && hwnd_ != nullptr) {
    closePending_ = false;
    DestroyWindow(hwnd_);
  }
  return result;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (Control* control = ControlById(LOWORD(wParam))) control->Command(HIWORD(wParam));
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (Control* control = ControlById(static_cast<int>(item.CtlID))) control->Draw(item);
      return TRUE;
    }
    case WM_TIMER:
      for (Timer* timer : timers_) {
        if (timer->id() == wParam) timer->Elapsed();
      }
      return 0;
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case WM_ACTIVATE:
      if (HIWORD(wParam) == 0) Activated(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wParam);
      DpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_NCDESTROY: {
      HWND dying = std::exchange(hwnd_, nullptr);
      SetWindowLongPtrW(dying, GWLP_USERDATA, 0);
      return DefWindowProcW(dying, message, wParam, lParam);
    }
    case kRunHandlerMessage:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void Window::ShowError(const std::wstring& text) { ShowErrorMessage(hwnd_, text); }

Control* Window::ControlById(int id) const {
  for (Control* control : controls_) {
    if (control->id() == id) return control;
  }
  return nullptr;
}

void Window::Activated(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  const bool canReturn = lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_);
  HWND focus = canReturn ? lastFocus_ : DefaultFocus();
  if (focus != nullptr) SetFocus(focus);
  if (!activatedOnce_) {
    activatedOnce_ = true;
    FirstActivation();
  }
}

int RunMessageLoop(Window& window) {
  MSG msg{};
  while (!window.QuitRequested()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    window.TranslateAndDispatch(msg);
  }
  return 0;
}
