#include "ui/MakePendriveInstalableMainForm.h"

#include <dbt.h>

#include <array>
#include <exception>
#include <utility>

#include "common/product.h"
#include "system/drive_text.h"
#include "system/drives.h"
#include "ui/copy/copy_action_rules.h"
#include "ui/copy/installer_copy.h"
#include "ui/layout.h"
#include "ui/poll_rules.h"
#include "ui/window/message_box.h"
#include "ui/window_description.h"

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// Posted to itself on a volume's arrival or removal: the poll's work runs
// once the system's broadcast has returned, not inside it.
constexpr UINT kRunPollNow = kFirstOwnMessage;

constexpr wchar_t kHelpButtonName[] = L"Pomoc";

static_assert(kDefaultButtonId == IDOK && kCancelButtonId == IDCANCEL);

}  // namespace

TForm1::TForm1(HWND owner)
    : taskbarLog_(Memo1, [this]() -> TaskbarProgress& { return Taskbar(); }),
      pacedLog_(
          taskbarLog_, [this] { ProcessMessages(); }, [] { return static_cast<std::uint64_t>(GetTickCount64()); }),
      download_(pacedLog_, iloscDoPobrania, iloscPobranych,
                DownloadWindowActions{[this] { KeepWindowAlive(); }, [this] { MainTimer.SetEnabled(true); },
                                      [this] { BitBtnKoniec.SetEnabled(true); },
                                      [this](const std::wstring& text) { ReportFailure(text); },
                                      [this] { KeepWindowAlive(); }}) {
  // The poll asks every drive letter for its label each second; an empty
  // card-reader slot must not raise the system's "no disk" box each time.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS);
  const FormDescription& form = MainFormDescription();
  clientWidth_ = form.clientWidth;
  clientHeight_ = form.clientHeight;
  CreateHandle({L"TForm1", reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
               {.caption = form.caption, .style = kWindowStyle, .owner = owner});
  try {
    CreateControls(form.controls, [this](std::wstring_view name) { return ControlByName(name); });
    // The group goes under its members for painting; tab stops keep their order.
    SetWindowPos(GroupBox1.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A group disabled in the description holds its members disabled too.
    if (!GroupBox1.Enabled()) {
      EnableWindow(GroupBox1.hwnd(), TRUE);
      GroupBox1.SetEnabled(false);
    }
    OpenDialog1.emplace(OpenDialogArgs{Handle(), kOpenDialog1Filter, 0});
    ApplyFont(form.fontFace, form.fontPixels);
    ApplyGeometry();
    SetClientSize(ScaleToDpi(clientWidth_, Dpi()), ScaleToDpi(clientHeight_, Dpi()));
    AttachTimer(MainTimer);
    MainTimer.OnTimer = [this] { MainTimerTimer(); };
    KopiujInstalatorCheckBox1.OnClick = [this] { KopiujInstalatorCheckBox1Click(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    BitBtnKoniec.OnClick = [this] { BitBtnKoniecClick(); };
    BitBtn2.OnClick = [this] { BitBtn2Click(); };
    for (Button* button : {&BitBtn1, &BitBtnKoniec, &BitBtn2}) {
      button->ShowsDefaultFrame = [this](const Button& b) { return ShowsDefaultFrame(b); };
      button->FocusChanged = [this] {
        for (const Button* b : {&BitBtn1, &BitBtnKoniec, &BitBtn2}) b->Redraw();
      };
    }
    // The taskbar button is the owner's, the application window's.
    taskbarButton_.emplace(owner != nullptr ? owner : Handle());
    BitBtn2.SetAccessibleName(kHelpButtonName);
    helpTip_.emplace(Handle(), BitBtn2.hwnd(), kHelpButtonName);
    // Labels that size themselves do so for the font they are shown in.
    Label1.SetText(Label1.Text());
    FormCreate();
  } catch (...) {
    DestroyHandle();
    throw;
  }
}

TForm1::~TForm1() {
  helpTip_.reset();
  DestroyHandle();
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

void TForm1::ApplyGeometry() {
  for (const ControlDescription& row : MainFormDescription().controls) {
    // Members are placed by their group.
    if (row.container.empty()) ControlByName(row.name)->ApplyGeometry(Dpi());
  }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID:
      // Always name the copy button: the dialog manager then presses it
      // only while it is enabled, where it would otherwise send IDOK anyway.
      return MAKELRESULT(kDefaultButtonId, DC_HASDEFID);
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_DEVICECHANGE: {
      // A stick plugged in shows at once instead of at the next tick; the
      // poll stays for labels and for what is not announced.
      // Only arrivals and removals carry a device header in lParam.
      const bool carriesDevice = (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && lParam != 0;
      const DWORD type = carriesDevice ? reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam)->dbch_devicetype : 0;
      if (DeviceChangeRunsPoll(static_cast<unsigned>(wParam), type, MainTimer.Enabled())) {
        PostMessageW(Handle(), kRunPollNow, 0, 0);
      }
      return TRUE;
    }
    case kRunPollNow:
      // Not while a copy or download runs: it switched the poll off.
      if (MainTimer.Enabled()) MainTimerTimer();
      return 0;
    case WM_DESTROY:
      MainTimer.SetEnabled(false);
      PostQuitMessage(0);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

void TForm1::DpiChanged(const RECT& suggested) {
  const FormDescription& form = MainFormDescription();
  ApplyFont(form.fontFace, form.fontPixels);
  ApplyGeometry();
  const SIZE outer = OuterSizeForClient(ScaleToDpi(clientWidth_, Dpi()), ScaleToDpi(clientHeight_, Dpi()));
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TForm1::ShowsDefaultFrame(const Button& button) const {
  HWND focus = GetFocus();
  for (const Button* b : {&BitBtn1, &BitBtnKoniec, &BitBtn2}) {
    if (focus == b->hwnd()) return &button == b;
  }
  return &button == &BitBtn1;
}

void TForm1::FormCreate() {
  stPENDRIVEKOMUNIKAT = L"Dysk wymienny : ";
  KomunikatNapedDocelowyLabel.SetText(stPENDRIVEKOMUNIKAT);
  iloscDoPobrania = 0;
  iloscPobranych = 0;
  MainTimer.SetEnabled(true);
}

void TForm1::FormActivate() { MainTimer.SetEnabled(true); }

void TForm1::BitBtnKoniecClick() { RequestClose(); }

void TForm1::RequestClose() {
  if (!working_) {
    Close();
  } else if (!stopRequested_ && AskToStopWork()) {
    // Stops at the next block or wait tick; the window closes once the
    // copy action has returned.
    stopRequested_ = true;
    Close();
  }
}

bool TForm1::AskToStopWork() {
  return AskYesNo(Handle(), L"Trwa przygotowywanie no\u015bnika.\r\rPrzerwa\u0107 i zamkn\u0105\u0107 program?");
}

void TForm1::KeepWindowAlive() {
  pacedLog_.ProcessMessages();
  if (stopRequested_) throw WorkStopped();
}

void TForm1::KopiujInstalatorCheckBox1Click() {
  if (!KopiujInstalatorCheckBox1.Checked()) PobierzZNetuCheckBox1.SetChecked(false);
}

void TForm1::BitBtn1Click() {
  MainTimer.SetEnabled(false);
  BitBtn1.SetEnabled(false);
  BitBtnKoniec.SetEnabled(false);
  working_ = true;
  taskbarLog_.WorkStarted();
  // The poll cycle and the close button come back on every path, also when
  // a step raises (a refused download, say): otherwise the copy button would
  // never be enabled again and the tool could only be killed. The copy
  // button itself waits for the next tick to decide.
  struct Resume {
    TForm1& form;
    int exceptions = std::uncaught_exceptions();
    ~Resume() {
      form.working_ = false;
      form.stopRequested_ = false;
      form.MainTimer.SetEnabled(true);
      form.BitBtnKoniec.SetEnabled(true);
      // A step that raised leaves the error showing until its box has been
      // answered (ShowError); otherwise the work's end clears it.
      if (std::uncaught_exceptions() > exceptions) {
        form.taskbarLog_.WorkFailed();
      } else {
        form.taskbarLog_.Cleared();
      }
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
  if (failed) ReportFailure(L"Nie uda\u0142o si\u0119 skopiowa\u0107 wszystkich plik\u00f3w do " + target);
}

void TForm1::ProvideInstaller() {
  iloscDoPobrania = 0;
  iloscPobranych = 0;
  const std::wstring targetRoot = SelectorRoot(DriveComboBox.Text());
  switch (ChooseInstallerStep(PobierzZNetuCheckBox1.Checked(), KopiujInstalatorCheckBox1.Checked())) {
    case InstallerStep::kDownload:
      DownloadInstaller(kInstallerFileName, targetRoot);
      break;
    case InstallerStep::kCopyFromFile:
      CopyInstallerFromFile(kInstallerFileName, targetRoot);
      break;
    case InstallerStep::kNone:
      break;
  }
}

void TForm1::CopyInstallerFromFile(const std::wstring& fileName, const std::wstring& targetRoot) {
  PacedProgress::FlushOnExit flush(pacedLog_);
  ::CopyInstallerFromFile(fileName, targetRoot, InstallerFileChooser(), pacedLog_, [this] { KeepWindowAlive(); });
}

void TForm1::DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot) {
  PacedProgress::FlushOnExit flush(pacedLog_);
  download_.DownloadInstaller(fileName, targetRoot, InternetAccess());
}

void TForm1::BitBtn2Click() { OpenHelpPage(Handle(), InternetAccess(), HelpActions()); }

void TForm1::ShowMessageBox(const std::wstring& text) { ShowMessage(Handle(), text); }

void TForm1::ReportFailure(const std::wstring& text) {
  taskbarLog_.WorkFailed();
  ShowMessageBox(text);
}

void TForm1::ShowError(const std::wstring& text) {
  Window::ShowError(text);
  taskbarLog_.Cleared();
}

TaskbarProgress& TForm1::Taskbar() { return *taskbarButton_; }

std::shared_ptr<const InternetProbe> TForm1::InternetAccess() const { return wininet_; }

HelpPageActions TForm1::HelpActions() {
  HelpPageActions actions = PlatformHelpPageActions();
  actions.showMessage = [this](HWND, const std::wstring& text) { ShowMessageBox(text); };
  // The window runs while the site is asked; a close meanwhile ends the
  // button's work, so that the window goes at once.
  actions.keepAlive = [this] {
    ProcessMessages();
    if (ClosePending()) throw WorkStopped();
  };
  return actions;
}

void TForm1::MainTimerTimer() {
  MainTimer.SetEnabled(false);
  // The focus leaves the copy button at every tick, as it always has; the
  // button itself is no longer switched off and on for it.
  BitBtn1.PassFocusOn();
  GroupBox1.SetEnabled(true);
  const GroupPlacement placed = PlaceOptionsGroup(Panel2.bounds(), GroupBox1.bounds());
  GroupBox1.SetTop(placed.groupTop);
  RECT client{};
  GetClientRect(Handle(), &client);
  clientWidth_ = placed.clientWidth;
  SetClientSize(ScaleToDpi(clientWidth_, Dpi()), client.bottom);

  RefreshTargetDrives();

  // Set once, to its final state: a button that flickers off and on can
  // refuse a click, and loses the focus.
  BitBtn1.SetEnabled(IsRemovableDrive(SelectorRoot(DriveComboBox.Text())));

  const LowerLayout lower =
      LayOutBelowGroup(GroupBox1.bounds(), KopiujInstalatorCheckBox1.bounds(), BitBtn1.bounds(), BitBtnKoniec.bounds());
  PobierzZNetuCheckBox1.SetTop(lower.downloadOptionTop);
  Memo1.SetTop(lower.logTop);
  BitBtn1.SetTop(lower.copyButtonTop);
  BitBtnKoniec.SetTop(lower.closeButtonTop);
  GetClientRect(Handle(), &client);
  clientHeight_ = lower.clientHeight;
  SetClientSize(client.right, ScaleToDpi(clientHeight_, Dpi()));

  MainTimer.SetEnabled(true);
}

void TForm1::RefreshTargetDrives() {
  const std::vector<std::wstring> roots = ListRemovableDrives();
  std::vector<std::wstring> entries;
  entries.reserve(roots.size());
  for (const std::wstring& root : roots) entries.push_back(DriveEntry(root, GetDriveVolumeLabel(root)));
  // The same drives leave the list alone, and with it an open drop-down's
  // highlight.
  if (DriveListDiffers(DriveComboBox.Items(), entries)) {
    DriveComboBox.ClearList();
    for (const std::wstring& entry : entries) DriveComboBox.AddItem(entry);
  }
  const std::wstring status = TargetStatusText(stPENDRIVEKOMUNIKAT, roots);
  if (KomunikatNapedDocelowyLabel.Text() != status) KomunikatNapedDocelowyLabel.SetText(status);
  if (const auto text = SingleDriveSelectorText(entries, DriveComboBox.Text())) DriveComboBox.SetText(*text);
}
