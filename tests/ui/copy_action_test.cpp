// The copy button's whole action on drives that Wine's mount manager maps.
// Wine keeps the label a drive had when it was mapped for the rest of the
// session, so the label read back is the OLD one: each case picks the old
// label for the path it wants, and the write is proven by the label file.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "copy_action_form.h"
#include "system/connectivity_gated_probe.h"
#include "ui/download/download_text.h"
#include "wine_drives.h"

using wine_drives::Drive;

namespace {

const std::wstring kFailurePrefix = L"Nie uda\u0142o si\u0119 skopiowa\u0107 wszystkich plik\u00f3w do ";

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The quit a closed window posts is not the next case's.
void DiscardPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class CopyActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<CopyActionForm>();
    // The installer comes from a file unless a case says otherwise.
    form->PobierzZNetuCheckBox1.SetChecked(false);
    // The source the user "picks": any name, any folder.
    const std::string folder = wine_drives::NewFolder("source");
    source = wine_drives::DosPath(folder + "/instalator-1.2.exe");
    std::ofstream(std::filesystem::path(source), std::ios::binary) << std::string(5000, 'i');
    form->chooser.answer = source;
  }

  // Presses the copy button as the selector shows `text`.
  void Copy(const std::wstring& text) {
    form->DriveComboBox.SetText(text);
    form->BitBtn1Click();
  }

  std::vector<std::wstring> LogLines() const {
    std::vector<std::wstring> lines;
    std::wstringstream text(form->Memo1.Text());
    for (std::wstring line; std::getline(text, line);) {
      if (!line.empty() && line.back() == L'\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  std::unique_ptr<CopyActionForm> form;
  std::wstring source;
};

TEST_F(CopyActionTest, EmptySelectorTextFailsWithNothingAfterThePrefixAndWritesNoLabel) {
  Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
  Copy(L"");
  ASSERT_EQ(form->boxes.size(), 1u);
  EXPECT_EQ(form->boxes[0].text, kFailurePrefix);
  EXPECT_EQ(wine_drives::ReadLabelFile(e.folder()), "drovalin-old");
  EXPECT_TRUE(form->chooser.setups.empty());
}

TEST_F(CopyActionTest, TypedSmallLetterLabelsTheDriveAndCopiesToTheSmallLetterRoot) {
  Drive f = Drive::RemovableWithLabel(L'F', "drovalin-old");
  Copy(L"f");
  EXPECT_TRUE(form->boxes.empty());
  EXPECT_EQ(wine_drives::ReadLabelFile(f.folder()), "DROVALIN");
  ASSERT_EQ(form->chooser.setups.size(), 1u);
  EXPECT_EQ(form->chooser.setups[0].fileName, L"dvl.exe");
  // SHA-256 of 5000 times 'i', by sha256sum.
  EXPECT_EQ(LogLines(), (std::vector<std::wstring>{
                            L"Kopiuj\u0119 f:\\dvl.exe  5000 bytes", L"Pozosta\u0142o : 0 bytes",
                            L"Sprawdzam zapis f:\\dvl.exe", L"Do sprawdzenia : 0 bytes",
                            L"SHA-256 : 50e3136f8e76648aa649c8b1b649289725f11eb7a7fb387d18d39680f27d0bb1", L"Ok"}));
  EXPECT_EQ(ReadFile(L"F:\\dvl.exe"), std::string(5000, 'i'));
}

// A close request while the copy runs asks whether to stop. Yes stops it
// at the next block: the installer already on the drive stays, no
// temporary file is left, and the window closes once the copy button's
// handler has returned. No lets the copy finish and the window stay.
TEST_F(CopyActionTest, CloseDuringTheCopyAsksAndYesStopsItWhileNoLetsItFinish) {
  const std::string big(1024 * 1024, 'n');
  std::ofstream(std::filesystem::path(source), std::ios::binary | std::ios::trunc) << big;
  for (const bool stop : {true, false}) {
    SCOPED_TRACE(stop ? "answered Yes" : "answered No");
    form = std::make_unique<CopyActionForm>();
    form->PobierzZNetuCheckBox1.SetChecked(false);
    form->chooser.answer = source;
    form->stopAnswers = {stop};
    Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
    std::ofstream(std::filesystem::path(L"E:\\dvl.exe"), std::ios::binary) << "old installer";
    HWND window = form->Handle();
    form->DriveComboBox.SetText(L"E:\\    [drovalin-old]");
    // The title bar's close, as the first pump of the copy sees it.
    PostMessageW(window, WM_CLOSE, 0, 0);
    form->RunHandler([&] { form->BitBtn1Click(); });

    EXPECT_EQ(form->stopQuestions, 1);
    EXPECT_TRUE(form->boxes.empty()) << "no error box for a stop the user asked for";
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"E:\\"), 0);
    if (stop) {
      EXPECT_FALSE(IsWindow(window));
      EXPECT_EQ(ReadFile(L"E:\\dvl.exe"), "old installer");
    } else {
      EXPECT_TRUE(IsWindow(window));
      EXPECT_EQ(ReadFile(L"E:\\dvl.exe"), big);
      EXPECT_EQ(LogLines().back(), L"Ok");
    }
    DiscardPendingMessages();
  }
}

// The user, while the host is being probed: reads the window's title,
// then closes it. `answered` says whether the window answered while the
// probe was still waiting.
std::thread ReadTitleThenClose(HWND window, std::shared_ptr<ProbeGate> gate, bool& answered) {
  return std::thread([window, gate, &answered] {
    if (!gate->WaitEntered(std::chrono::seconds(10))) return;
    DWORD_PTR length = 0;
    answered =
        SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length) != 0 && !gate->Finished();
    // A check that holds the window is let go, so that the case fails
    // instead of hanging.
    if (!answered) gate->Open();
    PostMessageW(window, WM_CLOSE, 0, 0);
    // The same for a close that waits for the host.
    for (int i = 0; i < 1000 && IsWindow(window) && !gate->Finished(); ++i) Sleep(10);
    if (IsWindow(window) && !gate->Finished()) gate->Open();
  });
}

// The download first asks whether the site can be reached, which takes as
// long as a TCP connect: on a network that drops packets, about 21 s. The
// window answers meanwhile, and a close answered Yes stops the work at once
// although the host is still being probed; No lets the check go on.
TEST_F(CopyActionTest, WindowAnswersDuringTheConnectivityCheckAndACloseCanStopIt) {
  using namespace std::chrono_literals;
  for (const bool stop : {true, false}) {
    SCOPED_TRACE(stop ? "answered Yes" : "answered No");
    form = std::make_unique<CopyActionForm>();
    form->PobierzZNetuCheckBox1.SetChecked(true);
    auto gate = std::make_shared<ProbeGate>();
    form->probe = std::make_shared<GatedProbe>(gate, false);
    form->stopAnswers = {stop};
    if (!stop) form->whenAskedToStop = [gate] { gate->Open(); };
    Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
    std::ofstream(std::filesystem::path(L"E:\\dvl.exe"), std::ios::binary) << "old installer";
    HWND window = form->Handle();
    form->DriveComboBox.SetText(L"E:\\    [drovalin-old]");

    bool answeredDuringTheProbe = false;
    std::thread user = ReadTitleThenClose(window, gate, answeredDuringTheProbe);
    form->RunHandler([&] { form->BitBtn1Click(); });
    user.join();

    EXPECT_TRUE(answeredDuringTheProbe) << "the window did not answer while the host was probed";
    EXPECT_EQ(form->stopQuestions, 1);
    EXPECT_EQ(ReadFile(L"E:\\dvl.exe"), "old installer");
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"E:\\"), 0);
    if (stop) {
      EXPECT_FALSE(IsWindow(window));
      EXPECT_FALSE(gate->Finished()) << "the stop waited for the host";
      EXPECT_TRUE(form->boxes.empty()) << "no box for a stop the user asked for";
    } else {
      EXPECT_TRUE(IsWindow(window));
      ASSERT_EQ(form->boxes.size(), 1u);
      EXPECT_EQ(form->boxes[0].text, NoInternetAccessText(L"dvl.exe"));
    }
    gate->Open();
    EXPECT_TRUE(gate->WaitFinished(10s));
    DiscardPendingMessages();
  }
}

// The help button asks the site the same question: the window answers
// meanwhile, and a close ends the wait at once. There is nothing on the
// medium to stop, so nothing is asked.
TEST_F(CopyActionTest, WindowAnswersDuringTheHelpButtonsCheckAndACloseEndsIt) {
  auto gate = std::make_shared<ProbeGate>();
  form->probe = std::make_shared<GatedProbe>(gate, false);
  HWND window = form->Handle();
  bool answeredDuringTheProbe = false;
  std::thread user = ReadTitleThenClose(window, gate, answeredDuringTheProbe);
  form->RunHandler([&] { form->BitBtn2Click(); });
  user.join();

  EXPECT_TRUE(answeredDuringTheProbe) << "the window did not answer while the host was probed";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(gate->Finished()) << "the close waited for the host";
  EXPECT_EQ(form->stopQuestions, 0);
  EXPECT_TRUE(form->boxes.empty());
  gate->Open();
  EXPECT_TRUE(gate->WaitFinished(std::chrono::seconds(10)));
  DiscardPendingMessages();
}

// The taskbar button follows the copy: busy from the press, the bytes as
// they land and as they are read back, cleared at the end; a copy that fails shows the error state
// while its box is up, and nothing once it has been answered.
TEST_F(CopyActionTest, TaskbarFollowsTheCopyAndShowsAFailureWhileItsBoxIsUp) {
  Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
  Copy(L"E:\\    [drovalin-old]");
  ASSERT_TRUE(form->boxes.empty());
  // The copy's bytes, then the read-back check's: the bar fills twice.
  const std::vector<TaskbarView> copied{kTaskbarWorkStarted,
                                        {TaskbarState::Normal, 0, 5000},
                                        {TaskbarState::Normal, 5000, 5000},
                                        kTaskbarWorkStarted,
                                        {TaskbarState::Normal, 0, 5000},
                                        {TaskbarState::Normal, 5000, 5000},
                                        {}};
  EXPECT_TRUE(form->taskbar.shown == copied) << form->taskbar.shown.size() << " views";

  form->taskbar.shown.clear();
  Drive fixed = Drive::Fixed(L'F', wine_drives::NewFolder("fixed"));
  Copy(L"F:\\");
  ASSERT_EQ(form->boxes.size(), 1u);
  EXPECT_EQ(form->boxes[0].taskbar, TaskbarState::Error);
  ASSERT_FALSE(form->taskbar.shown.empty());
  EXPECT_TRUE(form->taskbar.shown.back() == TaskbarView{}) << "the error stays after the box";
}

TEST_F(CopyActionTest, NotARemovableDriveFailsNamingItsRootAndWritesNothing) {
  const std::string fixedFolder = wine_drives::NewFolder("fixed");
  wine_drives::WriteLabelFile(fixedFolder, "drovalin-old");
  Drive fixed = Drive::Fixed(L'F', fixedFolder);
  for (const wchar_t* text : {L"F:\\    [drovalin-old]", L"H", L"F typed"}) {
    SCOPED_TRACE(testing::Message() << "selector text " << std::string(text, text + wcslen(text)));
    form->boxes.clear();
    Copy(text);
    ASSERT_EQ(form->boxes.size(), 1u);
    EXPECT_EQ(form->boxes[0].text, kFailurePrefix + std::wstring(1, text[0]) + L":\\");
  }
  EXPECT_EQ(wine_drives::ReadLabelFile(fixedFolder), "drovalin-old");
  EXPECT_FALSE(FileExists(L"F:\\dvl.exe"));
  EXPECT_TRUE(form->chooser.setups.empty());
}

TEST_F(CopyActionTest, LabelReadBackMustContainTheProductLabelInAnyCase) {
  struct Case {
    const char* oldLabel;
    bool confirmed;
  } cases[] = {{"xdrovalinx", true}, {"DROVALIN", true}, {"Drovalin 2", true},
               {"DROVALI", false},   {"", false},        {"DROVA LIN", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.oldLabel);
    Drive e = Drive::RemovableWithLabel(L'E', c.oldLabel);
    form->boxes.clear();
    form->chooser.setups.clear();
    Copy(L"E:\\    [whatever]");
    EXPECT_EQ(wine_drives::ReadLabelFile(e.folder()), "DROVALIN") << "the label is written in every case";
    if (c.confirmed) {
      EXPECT_TRUE(form->boxes.empty());
      EXPECT_EQ(form->chooser.setups.size(), 1u);
    } else {
      ASSERT_EQ(form->boxes.size(), 1u);
      EXPECT_EQ(form->boxes[0].text, kFailurePrefix + L"E:\\");
      EXPECT_TRUE(form->chooser.setups.empty()) << "no installer step without a confirmed label";
    }
  }
}

TEST_F(CopyActionTest, ReadOnlyMediumPassesOnlyWhenItsOldLabelCarriesTheProductLabel) {
  {
    Drive r = Drive::Removable(L'R', wine_drives::ReadOnlyFolder("drovalin"));
    Copy(L"R");
    EXPECT_TRUE(form->boxes.empty());
    EXPECT_EQ(form->chooser.setups.size(), 1u);
    EXPECT_EQ(ReadFile(L"R:\\dvl.exe"), "old installer\n");
    EXPECT_EQ(LogLines().back(), L"B\u0142\u0105d");
  }
  form->chooser.setups.clear();
  Drive r = Drive::Removable(L'R', wine_drives::ReadOnlyFolder("plain"));
  Copy(L"R");
  ASSERT_EQ(form->boxes.size(), 1u);
  EXPECT_EQ(form->boxes[0].text, kFailurePrefix + L"R:\\");
  EXPECT_TRUE(form->chooser.setups.empty());
  EXPECT_EQ(wine_drives::ReadLabelFile(r.folder()), "STARY");
}

TEST_F(CopyActionTest, OptionsDecideTheInstallerStep) {
  struct Case {
    bool installer;
    bool download;
    bool copiesFromFile;
  } cases[] = {{true, false, true}, {false, false, false}, {false, true, false}};
  auto probe = std::make_shared<ScriptedProbe>(false, 0, std::nullopt);
  form->probe = probe;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "installer " << c.installer << ", download " << c.download);
    Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
    form->KopiujInstalatorCheckBox1.SetChecked(c.installer);
    form->PobierzZNetuCheckBox1.SetChecked(c.download);
    form->chooser.setups.clear();
    form->Memo1.SetText(L"");
    Copy(L"E");
    EXPECT_EQ(wine_drives::ReadLabelFile(e.folder()), "DROVALIN");
    EXPECT_TRUE(form->boxes.empty());
    EXPECT_EQ(form->chooser.setups.size(), c.copiesFromFile ? 1u : 0u);
    EXPECT_EQ(FileExists(L"E:\\dvl.exe"), c.copiesFromFile);
    EXPECT_EQ(probe->stateCalls, 0) << "no download without the installer option";
    if (!c.copiesFromFile) {
      EXPECT_EQ(form->Memo1.Text(), L"");
    }
  }
}

TEST_F(CopyActionTest, ButtonsAndTimerDuringAndAfterTheAction) {
  Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
  form->BitBtn1.SetEnabled(true);
  Copy(L"E");
  EXPECT_TRUE(form->MainTimer.Enabled());
  EXPECT_TRUE(form->BitBtnKoniec.Enabled());
  EXPECT_FALSE(form->BitBtn1.Enabled()) << "the next tick decides the copy button";

  // A failure's box comes while the timer and both buttons are still off.
  form->BitBtn1.SetEnabled(true);
  Copy(L"");
  ASSERT_EQ(form->boxes.size(), 1u);
  EXPECT_FALSE(form->boxes[0].timerOn);
  EXPECT_FALSE(form->boxes[0].closeEnabled);
  EXPECT_FALSE(form->boxes[0].copyEnabled);
  EXPECT_TRUE(form->MainTimer.Enabled());
  EXPECT_TRUE(form->BitBtnKoniec.Enabled());
  EXPECT_FALSE(form->BitBtn1.Enabled());

  // The next tick decides: the only drive takes over the empty text.
  form->MainTimerTimer();
  EXPECT_EQ(form->DriveComboBox.Text(), L"E:\\    [drovalin-old]");
  EXPECT_TRUE(form->BitBtn1.Enabled());
}

TEST_F(CopyActionTest, NoInternetShowsTheDownloadBoxAndCreatesNothing) {
  Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
  form->PobierzZNetuCheckBox1.SetChecked(true);
  Copy(L"E");
  ASSERT_EQ(form->boxes.size(), 1u);
  EXPECT_EQ(form->boxes[0].text, L"Brak dost\u0119pu do internetu\r\rNie mog\u0119 pobra\u0107 dvl.exe");
  EXPECT_FALSE(FileExists(L"E:\\dvl.exe"));
  EXPECT_TRUE(form->MainTimer.Enabled());
  EXPECT_TRUE(form->BitBtnKoniec.Enabled());
}

}  // namespace
