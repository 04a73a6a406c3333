#include "ui/MakePendriveInstalableMainForm.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "resources/resource.h"
#include "system/connectivity_wininet.h"
#include "system/drive_text.h"
#include "system/drives.h"
#include "ui/copy_action_rules.h"
#include "ui/help_page.h"
#include "ui/installer_copy.h"
#include "ui/dpi.h"
#include "ui/layout.h"
#include "ui/message_box.h"
#include "ui/poll_rules.h"
#include "ui/window_description.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr UINT kRunHandlerMessage = WM_APP + 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

static_assert(kDefaultButtonId == IDOK && kCancelButtonId == IDCANCEL);

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kWindowClass, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPICON));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (RegisterClassExW(&wc) == 0) throw std::runtime_error("Cannot register the main window class");
}

// Error texts are UTF-8; a text that is not is taken in the ANSI code page.
std::wstring WideText(const char* text) {
  for (UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int length = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    if (length <= 0) continue;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
  }
  return {};
}

}  // namespace

TForm1::TForm1(HWND owner)
    : pacedLog_(Memo1, [this] { ProcessMessages(); }, [] { return static_cast<std::uint64_t>(GetTickCount64()); }),
      download_(pacedLog_, iloscDoPobrania, iloscPobranych,
                DownloadWindowActions{[this] { pacedLog_.ProcessMessages(); }, [this] { MainTimer.SetEnabled(true); },
                                      [this] { BitBtnKoniec.SetEnabled(true); },
                                      [this](const std::wstring& text) { ShowMessageBox(text); },
                                      [this] { return DriveComboBox.Text(); }}) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance);
  const FormDescription& form = MainFormDescription();
  clientWidth_ = form.clientWidth;
  clientHeight_ = form.clientHeight;
  const std::wstring caption(form.caption);
  // Created with the plain window procedure, then bound to this object, so
  // no message reaches a half-built form.
  hwnd_ = CreateWindowExW(0, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("Cannot create the main window");
  try {
    dpi_ = WindowDpi(hwnd_);
    CreateControls();
    OpenDialog1.emplace(OpenDialogArgs{hwnd_, kOpenDialog1Filter, 0});
    ApplyFont();
    ApplyGeometry();
    SetClientSize(ScaleToDpi(clientWidth_, dpi_), ScaleToDpi(clientHeight_, dpi_));
    MainTimer.Attach(hwnd_);
    MainTimer.OnTimer = [this] { MainTimerTimer(); };
    KopiujInstalatorCheckBox1.OnClick = [this] { KopiujInstalatorCheckBox1Click(); };
    for (Button* button : {&BitBtn1, &BitBtnKoniec, &BitBtn2}) {
      button->ShowsDefaultFrame = [this](const Button& b) { return ShowsDefaultFrame(b); };
      button->FocusChanged = [this] {
        for (const Button* b : {&BitBtn1, &BitBtnKoniec, &BitBtn2}) b->Redraw();
      };
    }
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm1::WindowProc));
    // Labels that size themselves do so for the font they are shown in.
    Label1.SetText(Label1.Text());
    FormCreate();
  } catch (...) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    throw;
  }
}

TForm1::~TForm1() {
  MainTimer.SetEnabled(false);
  if (hwnd_ != nullptr) {
    // Gone with the object: no window procedure runs on a dying form.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

Control* TForm1::ControlByName(std::wstring_view name) {
  const std::array<std::pair<std::wstring_view, Control*>, 12> controls{{
      {L"DriveComboBox", &DriveComboBox},
      {L"GroupBox1", &GroupBox1},
      {L"KopiujInstalatorCheckBox1", &KopiujInstalatorCheckBox1},
      {L"PobierzZNetuCheckBox1", &PobierzZNetuCheckBox1},
      {L"BitBtn1", &BitBtn1},
      {L"BitBtnKoniec", &BitBtnKoniec},
      {L"Panel2", &Panel2},
      {L"Memo1", &Memo1},
      {L"BitBtn2", &BitBtn2},
      {L"Label1", &Label1},
      {L"KomunikatNapedDocelowyLabel", &KomunikatNapedDocelowyLabel},
      {L"Bevel1", &Bevel1},
  }};
  for (const auto& [controlName, control] : controls) {
    if (controlName == name) return control;
  }
  return nullptr;
}

Control* TForm1::ControlById(int id) {
  for (const ControlDescription& row : MainFormDescription().controls) {
    if (row.id == id) return ControlByName(row.name);
  }
  return nullptr;
}

void TForm1::CreateControls() {
  for (const ControlDescription& row : MainFormDescription().controls) {
    Control* control = ControlByName(row.name);
    Control* container = row.container.empty() ? nullptr : ControlByName(row.container);
    if (control == nullptr || (!row.container.empty() && container == nullptr)) {
      throw std::logic_error("The window description names an unknown control");
    }
    control->Create(hwnd_, row, container);
    if (auto* group = dynamic_cast<GroupBox*>(container)) group->AddMember(*control);
  }
  // The group goes under its members for painting; tab stops keep their order.
  SetWindowPos(GroupBox1.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A group disabled in the description holds its members disabled too.
  if (!GroupBox1.Enabled()) {
    EnableWindow(GroupBox1.hwnd(), TRUE);
    GroupBox1.SetEnabled(false);
  }
}

void TForm1::ApplyFont() {
  const FormDescription& form = MainFormDescription();
  const std::wstring face(form.fontFace);
  UniqueFont font(CreateFontW(-ScaleToDpi(form.fontPixels, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
  if (!font) throw std::runtime_error("Cannot create the window font");
  for (const ControlDescription& row : form.controls) {
    SendMessageW(ControlByName(row.name)->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  // The controls have let go of the old font only now.
  font_ = std::move(font);
}

void TForm1::ApplyGeometry() {
  for (const ControlDescription& row : MainFormDescription().controls) {
    // Members are placed by their group.
    if (row.container.empty()) ControlByName(row.name)->ApplyGeometry(dpi_);
  }
}

SIZE TForm1::OuterSizeForClient(int width, int height) const {
  // The frame as it is now: right for whatever DPI the system draws the
  // non-client area at, with or without per-monitor awareness.
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  return {width + (outer.right - outer.left) - client.right, height + (outer.bottom - outer.top) - client.bottom};
}

void TForm1::SetClientSize(int width, int height) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right == width && client.bottom == height) return;
  const SIZE outer = OuterSizeForClient(width, height);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Show() {
  RECT frame{};
  GetWindowRect(hwnd_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void TForm1::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitRequested_ = true;
      continue;
    }
    TranslateAndDispatch(msg);
  }
}

void TForm1::TranslateAndDispatch(MSG& msg) {
  if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void TForm1::RunHandler(const std::function<void()>& action) {
  SendMessageW(hwnd_, kRunHandlerMessage, 0, reinterpret_cast<LPARAM>(&action));
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return form->Dispatch(message, wParam, lParam);
}

// The one boundary every handler runs behind: no exception unwinds into the
// window system, the user sees the error, and the loop goes on.
LRESULT TForm1::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  ++handlerDepth_;
  LRESULT result = 0;
  try {
    result = HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowErrorMessage(hwnd_, WideText(error.what()));
  } catch (...) {
    ShowErrorMessage(hwnd_, L"Nieznany błąd");
  }
  // A close asked for while a handler was running (from inside its message
  // pump) waits until that handler has returned to the loop.
  if (--handlerDepth_ == 0 && closePending_ && hwnd_ != nullptr) {
    closePending_ = false;
    DestroyWindow(hwnd_);
  }
  return result;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == MainTimer.id()) MainTimer.Elapsed();
      return 0;
    case DM_GETDEFID:
      // Always name the copy button: the dialog manager then presses it
      // only while it is enabled, where it would otherwise send IDOK anyway.
      return MAKELRESULT(kDefaultButtonId, DC_HASDEFID);
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0 ? TRUE : FALSE);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case WM_ACTIVATE:
      if (HIWORD(wParam) == 0) OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      MainTimer.SetEnabled(false);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND dying = std::exchange(hwnd_, nullptr);
      SetWindowLongPtrW(dying, GWLP_USERDATA, 0);
      return DefWindowProcW(dying, message, wParam, lParam);
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kRunHandlerMessage:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void TForm1::OnCommand(int id, int code) {
  if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
  // Enter, Esc and access keys reach here without asking whether the
  // button is enabled; a disabled button is never pressed.
  if (id == BitBtn1.id()) {
    if (BitBtn1.Enabled()) BitBtn1Click();
  } else if (id == BitBtnKoniec.id()) {
    if (BitBtnKoniec.Enabled()) BitBtnKoniecClick();
  } else if (id == BitBtn2.id()) {
    if (BitBtn2.Enabled()) BitBtn2Click();
  } else if (id == KopiujInstalatorCheckBox1.id() && code == BN_CLICKED) {
    KopiujInstalatorCheckBox1.Clicked();
  }
}

void TForm1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  Control* control = ControlById(static_cast<int>(item.CtlID));
  if (const auto* button = dynamic_cast<const Button*>(control)) button->Draw(item);
  if (const auto* frame = dynamic_cast<const FrameDecoration*>(control)) frame->Draw(item);
}

bool TForm1::ShowsDefaultFrame(const Button& button) const {
  HWND focus = GetFocus();
  for (const Button* b : {&BitBtn1, &BitBtnKoniec, &BitBtn2}) {
    if (focus == b->hwnd()) return &button == b;
  }
  return &button == &BitBtn1;
}

void TForm1::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  const bool canReturn = lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_);
  SetFocus(canReturn ? lastFocus_ : DriveComboBox.hwnd());
  if (!activatedOnce_) {
    activatedOnce_ = true;
    FormActivate();
  }
}

void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  ApplyFont();
  ApplyGeometry();
  const SIZE outer = OuterSizeForClient(ScaleToDpi(clientWidth_, dpi_), ScaleToDpi(clientHeight_, dpi_));
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Close() {
  closePending_ = true;
  if (handlerDepth_ == 0 && hwnd_ != nullptr) {
    closePending_ = false;
    DestroyWindow(hwnd_);
  }
}

void TForm1::FormCreate() {
  stPENDRIVEKOMUNIKAT = L"Dysk wymienny : ";
  KomunikatNapedDocelowyLabel.SetText(stPENDRIVEKOMUNIKAT);
  iloscDoPobrania = 0;
  iloscPobranych = 0;
  MainTimer.SetEnabled(true);
}

void TForm1::FormActivate() { MainTimer.SetEnabled(true); }

void TForm1::BitBtnKoniecClick() { Close(); }

void TForm1::KopiujInstalatorCheckBox1Click() {
  if (!KopiujInstalatorCheckBox1.Checked()) PobierzZNetuCheckBox1.SetChecked(false);
}

void TForm1::BitBtn1Click() {
  MainTimer.SetEnabled(false);
  BitBtn1.SetEnabled(false);
  BitBtnKoniec.SetEnabled(false);
  // The poll cycle and the close button come back on every path, also when
  // a step raises (a refused download, say): otherwise the copy button would
  // never be enabled again and the tool could only be killed. The copy
  // button itself waits for the next tick to decide.
  struct Resume {
    TForm1& form;
    ~Resume() {
      form.MainTimer.SetEnabled(true);
      form.BitBtnKoniec.SetEnabled(true);
    }
  } resume{*this};

  std::wstring target = DriveComboBox.Text();
  bool failed = target.empty();
  if (!failed) {
    target = DriveRoot(target);
    failed = !IsRemovableDrive(target);
  }
  if (!failed) {
    SetDriveVolumeLabel(DriveComboBox.Text(), kProductLabel);
    failed = !LabelConfirmsProduct(GetDriveVolumeLabel(target));
    if (!failed) ProvideInstaller();
  }
  if (failed) ShowMessageBox(L"Nie uda\u0142o si\u0119 skopiowa\u0107 wszystkich plik\u00f3w do " + target);
}

void TForm1::ProvideInstaller() {
  iloscDoPobrania = 0;
  iloscPobranych = 0;
  const std::wstring targetRoot = SelectorRoot(DriveComboBox.Text());
  switch (ChooseInstallerStep(PobierzZNetuCheckBox1.Checked(), KopiujInstalatorCheckBox1.Checked())) {
    case InstallerStep::kDownload:
      DownloadInstaller(kInstallerFileName);
      break;
    case InstallerStep::kCopyFromFile:
      CopyInstallerFromFile(kInstallerFileName, targetRoot);
      break;
    case InstallerStep::kNone:
      break;
  }
}

namespace {

// The last rewrite of a paced log reaches the screen however the work ends.
class FlushOnExit {
 public:
  explicit FlushOnExit(PacedProgress& log) : log_(log) {}
  FlushOnExit(const FlushOnExit&) = delete;
  FlushOnExit& operator=(const FlushOnExit&) = delete;
  ~FlushOnExit() {
    try {
      log_.Flush();
    } catch (...) {
      // Out of memory for one log line; the error on its way out matters more.
    }
  }

 private:
  PacedProgress& log_;
};

}  // namespace

void TForm1::CopyInstallerFromFile(const std::wstring& fileName, const std::wstring& targetRoot) {
  FlushOnExit flush(pacedLog_);
  ::CopyInstallerFromFile(fileName, targetRoot, InstallerFileChooser(), pacedLog_,
                          [this] { pacedLog_.ProcessMessages(); });
}

void TForm1::DownloadInstaller(const std::wstring& fileName) {
  FlushOnExit flush(pacedLog_);
  download_.DownloadInstaller(fileName, InternetAccess());
}

void TForm1::BitBtn2Click() { OpenHelpPage(hwnd_, InternetAccess(), HelpActions()); }

void TForm1::ShowMessageBox(const std::wstring& text) { ShowMessage(hwnd_, text); }

const InternetProbe& TForm1::InternetAccess() const { return wininet_; }

HelpPageActions TForm1::HelpActions() {
  HelpPageActions actions = PlatformHelpPageActions();
  actions.showMessage = [this](HWND, const std::wstring& text) { ShowMessageBox(text); };
  return actions;
}

void TForm1::MainTimerTimer() {
  MainTimer.SetEnabled(false);
  BitBtn1.SetEnabled(false);
  GroupBox1.SetEnabled(true);
  const GroupPlacement placed = PlaceOptionsGroup(Panel2.bounds(), GroupBox1.bounds());
  GroupBox1.SetTop(placed.groupTop);
  RECT client{};
  GetClientRect(hwnd_, &client);
  clientWidth_ = placed.clientWidth;
  SetClientSize(ScaleToDpi(clientWidth_, dpi_), client.bottom);

  RefreshTargetDrives();

  if (IsRemovableDrive(SelectorRoot(DriveComboBox.Text()))) BitBtn1.SetEnabled(true);

  const LowerLayout lower = LayOutBelowGroup(GroupBox1.bounds(), KopiujInstalatorCheckBox1.bounds(),
                                             BitBtn1.bounds(), BitBtnKoniec.bounds());
  PobierzZNetuCheckBox1.SetTop(lower.downloadOptionTop);
  Memo1.SetTop(lower.logTop);
  BitBtn1.SetTop(lower.copyButtonTop);
  BitBtnKoniec.SetTop(lower.closeButtonTop);
  GetClientRect(hwnd_, &client);
  clientHeight_ = lower.clientHeight;
  SetClientSize(client.right, ScaleToDpi(clientHeight_, dpi_));

  MainTimer.SetEnabled(true);
}

void TForm1::RefreshTargetDrives() {
  const std::vector<std::wstring> roots = ListRemovableDrives();
  DriveComboBox.ClearList();
  std::vector<std::wstring> entries;
  for (const std::wstring& root : roots) {
    entries.push_back(DriveEntry(root, GetDriveVolumeLabel(root)));
    DriveComboBox.AddItem(entries.back());
  }
  const std::wstring status = TargetStatusText(stPENDRIVEKOMUNIKAT, roots);
  if (KomunikatNapedDocelowyLabel.Text() != status) KomunikatNapedDocelowyLabel.SetText(status);
  if (const auto text = SingleDriveSelectorText(entries, DriveComboBox.Text())) DriveComboBox.SetText(*text);
}
