// The tool's one window. Controls, fields and handlers carry the names of
// the window description; the description itself is data
// (ui/window_description.h) read when the window is created, and the
// plumbing every window needs is the Window base's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "system/connectivity_wininet.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/frames.h"
#include "ui/controls/group_box.h"
#include "ui/controls/label.h"
#include "ui/controls/memo.h"
#include "ui/controls/timer.h"
#include "ui/controls/tooltip.h"
#include "ui/copy/open_dialog.h"
#include "ui/download/download_installer.h"
#include "ui/help/help_page.h"
#include "ui/paced_progress.h"
#include "ui/progress_log.h"
#include "ui/taskbar_button.h"
#include "ui/taskbar_rules.h"
#include "ui/window/window.h"

class TForm1 : public Window {
 public:
  // Creates the window hidden, owned by `owner` (the application window that
  // carries the taskbar entry), then runs FormCreate.
  explicit TForm1(HWND owner = nullptr);
  ~TForm1() override;

  // Shows the window centred on the screen, the focus on the drive selector.
  void Show() { ShowCentred(); }

  // What the window's other features use.
  ProgressLog& Log() { return Memo1; }
  void SetCopyButtonEnabled(bool enabled) { BitBtn1.SetEnabled(enabled); }
  void SetCloseButtonEnabled(bool enabled) { BitBtnKoniec.SetEnabled(enabled); }
  void SetPollTimerEnabled(bool enabled) { MainTimer.SetEnabled(enabled); }

  // Controls, in the window description's order.
  ComboBox DriveComboBox;
  GroupBox GroupBox1;
  CheckBox KopiujInstalatorCheckBox1;
  CheckBox PobierzZNetuCheckBox1;
  Button BitBtn1;
  Button BitBtnKoniec;
  Separator Panel2;
  Memo Memo1;
  Button BitBtn2;
  Label Label1;
  Label KomunikatNapedDocelowyLabel;
  Bevel Bevel1;
  Timer MainTimer{1};

  std::wstring stPENDRIVEKOMUNIKAT;
  std::int32_t iloscDoPobrania = 0;
  std::int32_t iloscPobranych = 0;

  // Non-visual components: the installer's open-file dialog and the HTTP
  // client with its seven event handlers (download_.Handlers()).
  std::optional<OpenDialog> OpenDialog1;
  HttpClient& IdHTTP1() { return download_.IdHTTP1(); }

  // Handlers. The two buttons' handlers are virtual, so a test can tell
  // that a key or click reached them.
  void FormCreate();
  void FormActivate();
  void BitBtnKoniecClick();
  void KopiujInstalatorCheckBox1Click();
  void MainTimerTimer();
  virtual void BitBtn1Click();
  virtual void BitBtn2Click();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DpiChanged(const RECT& suggested) override;
  HWND DefaultFocus() const override { return DriveComboBox.hwnd(); }
  void FirstActivation() override { FormActivate(); }

  // What the product shows the user and asks the network; tests answer
  // these themselves instead of showing boxes and dialogs.
  virtual void ShowMessageBox(const std::wstring& text);
  virtual FileChooser& InstallerFileChooser() { return *OpenDialog1; }
  // Shared, since the download's check may outlive a stopped copy button.
  virtual std::shared_ptr<const InternetProbe> InternetAccess() const;
  virtual HelpPageActions HelpActions();
  // Whether to stop the running copy or download and close; the tool asks
  // the user in a Yes/No box.
  virtual bool AskToStopWork();
  // Where the work's progress shows beside the log: the taskbar button.
  virtual TaskbarProgress& Taskbar();
  // The error box of a handler that raised; during it the taskbar shows
  // the failed work.
  void ShowError(const std::wstring& text) override;

 private:
  // A copy or download failed: the taskbar shows it while the box is up.
  void ReportFailure(const std::wstring& text);
  void ProvideInstaller();
  void CopyInstallerFromFile(const std::wstring& fileName, const std::wstring& targetRoot);
  void DownloadInstaller(const std::wstring& fileName, const std::wstring& targetRoot);

  // A close request (close box, Alt+F4, system menu, the close button):
  // closes, or, while a copy or download runs, asks whether to stop it.
  void RequestClose();
  // Lets the window run during the copy and the download; leaves them with
  // WorkStopped once the user chose to stop.
  void KeepWindowAlive();

  Control* ControlByName(std::wstring_view name);
  void ApplyGeometry();
  bool ShowsDefaultFrame(const Button& button) const;
  void RefreshTargetDrives();

  // The help button shows only its glyph; this says what it does.
  std::optional<Tooltip> helpTip_;
  // Client size at 96 DPI, as the description or the last tick set it.
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  std::shared_ptr<const WininetProbe> wininet_ = std::make_shared<WininetProbe>();
  bool working_ = false;
  bool stopRequested_ = false;
  // The taskbar button of the application window that owns this one.
  std::optional<TaskbarButton> taskbarButton_;
  // Memo1 as the work writes it, with the taskbar following its lines.
  TaskbarLog taskbarLog_;
  // What the copy and the download write into the log and how they let the
  // window run; see PacedProgress.
  PacedProgress pacedLog_;
  // After the controls, the counters and the log it refers to.
  InstallerDownload download_;
};
