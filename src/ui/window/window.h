// Base of the tool's top-level windows: the plumbing every one of them needs
// and none of them is about. It registers the class and binds the object to
// its window at WM_NCCREATE, runs every message behind one boundary that
// shows an escaping error and keeps a close asked for inside a handler until
// that handler has returned, pumps messages for long work, follows the DPI,
// and routes control notifications (WM_COMMAND, WM_DRAWITEM) and timer
// ticks to the control or timer that owns the id.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls/control.h"
#include "ui/controls/gdi.h"
#include "ui/controls/timer.h"

// Leaves long work that the user chose to stop; the dispatch boundary lets
// it end the handler without an error box.
class WorkStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "Work stopped"; }
};

// Window keeps the private messages below this one for itself; a window
// built on it numbers its own from here.
inline constexpr UINT kFirstOwnMessage = WM_APP + 16;

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  int Dpi() const { return dpi_; }

  // Dispatches every pending message and returns. Handlers may run nested
  // inside it; a request to end the tool seen here takes effect once
  // control is back in the message loop.
  void ProcessMessages();
  // Keyboard handling of the window (Tab, Enter, Esc, access keys), then
  // the window procedure.
  void TranslateAndDispatch(MSG& msg);
  bool QuitRequested() const { return quitRequested_; }

  // Runs `action` through the window procedure, as a handler: an error that
  // escapes it is shown by the default error handler.
  void RunHandler(const std::function<void()>& action);

  // Destroys the window now, or, while a handler runs, once it has returned.
  void Close();
  // A Close waits for the running handler to return.
  bool ClosePending() const { return closePending_; }

 protected:
  struct WindowClass {
    const wchar_t* name;
    HBRUSH background = nullptr;
  };
  struct CreateArgs {
    std::wstring_view caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    POINT position{CW_USEDEFAULT, CW_USEDEFAULT};
    SIZE size{CW_USEDEFAULT, CW_USEDEFAULT};
    HWND owner = nullptr;
  };

  Window() = default;
  // A window still there is destroyed without its procedure running.
  virtual ~Window();

  // Registers `windowClass` (once per process) and creates the window,
  // bound to this object from its first message on. Call it from the most
  // derived constructor, whose members are then already built.
  void CreateHandle(const WindowClass& windowClass, const CreateArgs& args);
  // Destroys the window without its procedure running. The most derived
  // destructor calls it while the controls' objects still exist.
  void DestroyHandle();

  // Creates the child controls described by `rows`, in order; `byName`
  // finds the object of a row. Their commands, drawings and font are the
  // window's from then on.
  void CreateControls(std::span<const ControlDescription> rows,
                      const std::function<Control*(std::wstring_view)>& byName);
  // The timer ticks on this window.
  void AttachTimer(Timer& timer);
  // The controls' font for the current DPI.
  void ApplyFont(std::wstring_view face, int pixelsAt96Dpi);
  // Resizes the window so that its client area has this size in pixels.
  void SetClientSize(int width, int height);
  // The window's outer size for a client area of this size, with the frame
  // as it is now: right for whatever DPI the system draws the non-client
  // area at, with or without per-monitor awareness.
  SIZE OuterSizeForClient(int width, int height) const;
  // Shows the window centred on the screen.
  void ShowCentred();

  // Messages this window handles itself; the default routes notifications,
  // timers, DPI changes and the close request, and leaves the rest to
  // DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The default error handler: a box with the error icon over this window.
  virtual void ShowError(const std::wstring& text);
  // The system moved the window to a monitor of another DPI; Dpi() is
  // already the new one and `suggested` is where the system would put it.
  virtual void DpiChanged(const RECT& suggested) { (void)suggested; }
  // Where the focus goes when the window is activated and the control
  // that had it last cannot take it back.
  virtual HWND DefaultFocus() const { return nullptr; }
  // The first activation of the window.
  virtual void FirstActivation() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  Control* ControlById(int id) const;
  void Activated(bool active);

  HWND hwnd_ = nullptr;
  int dpi_ = kDesignDpi;
  int handlerDepth_ = 0;
  bool closePending_ = false;
  bool quitRequested_ = false;
  HWND lastFocus_ = nullptr;
  bool activatedOnce_ = false;
  UniqueFont font_;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
};

// The tool's event loop: dispatches messages, with `window`'s keyboard
// handling, until the tool is asked to end (the window was closed, or a
// message pump inside a handler saw the request); returns the exit code.
int RunMessageLoop(Window& window);
