// The copy action with both options ticked: the installer downloaded from
// the product site (a local server in a private network), its failures, and
// the boxes of the copy and help buttons when the site does not answer.
#include "tool_fixture.h"

#include <cstdio>

#include "system/sha256.h"

using namespace ui_driver;
using wine_drives::Drive;

namespace {

using Lines = std::vector<std::wstring>;

const Lines kConnect{L"Pobieram : dvl.exe", L"Resolving hostname www.drovalin.pl.", L"Connecting to 127.0.0.1.",
                     L"Connected."};
const Lines kBody{L"Rozpoczęto pobieranie pliku", L"Pobieram dane : 100 %", L"Pobieranie pliku zakończone - Sukces"};
// An error page ends as a failure, however whole it came.
const Lines kRefusedBody{L"Rozpoczęto pobieranie pliku", L"Pobieram dane : 100 %",
                         L"Pobieranie pliku zakończone - Niepowodzenie"};

// The installer's body: read back from the drive, with its SHA-256, before
// the end line.
Lines InstallerBody(const std::vector<unsigned char>& installer) {
  Sha256 hash;
  hash.Update(installer.data(), installer.size());
  return {L"Rozpoczęto pobieranie pliku",           L"Pobieram dane : 100 %",
          L"Sprawdzam zapis E:\\dvl.exe",           L"Do sprawdzenia : 0 bytes",
          L"SHA-256 : " + HexDigest(hash.Finish()), L"Pobieranie pliku zakończone - Sukces"};
}

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class DownloadTest : public ToolTest {
 protected:
  void TearDown() override {
    if (!SiteFolder().empty()) SetSiteRoute("file");
  }
  // A drive that passes the label check under Wine (see CopyFromFile), the
  // tool on it, the site answering as `route` says, copy pressed.
  void PressCopyWithSite(const std::string& route) {
    SetSiteRoute(route);
    drives.push_back(Drive::RemovableWithLabel(L'E', "drovalin-old"));
    StartTool();
    ASSERT_TRUE(StatusBecomes(L"E:\\"));
    ASSERT_TRUE(Checked(w.installerOption) && Checked(w.downloadOption));
    ASSERT_TRUE(Click(w.copyButton));
  }
  // The same, with `old` as the installer already on the drive.
  void PressCopyOverAnOldInstaller(const std::string& route, const std::vector<unsigned char>& old) {
    drives.push_back(Drive::RemovableWithLabel(L'E', "drovalin-old"));
    WriteBytes(Target(), old);
    SetSiteRoute(route);
    StartTool();
    ASSERT_TRUE(StatusBecomes(L"E:\\"));
    ASSERT_TRUE(Click(w.copyButton));
  }
  std::string Target() const { return drives.back().folder() + "/dvl.exe"; }
  std::vector<unsigned char> Served() const { return ReadBytes(SiteFolder() + "/dvl.exe"); }
  // After an error box has been answered the window is usable again.
  void ExpectButtonsBack() {
    EXPECT_TRUE(WaitUntil([&] { return Enabled(w.closeButton); }, 2000)) << "the close button comes back";
    EXPECT_TRUE(WaitUntil([&] { return Enabled(w.copyButton); }, 2500)) << "the next tick enables copying";
  }
};

using Download = DownloadTest;

TEST_F(Download, PutsTheServedInstallerOnTheDrive) {
  PressCopyWithSite("file");
  const Lines log = LogWhenLastLineIs(kBody.back());
  EXPECT_EQ(log, Join({kConnect, InstallerBody(Served())}));
  EXPECT_TRUE(ReadBytes(Target()) == Served()) << "dvl.exe is not byte-identical to the served file";
  EXPECT_EQ(wine_drives::ReadLabelFile(drives.back().folder()), "DROVALIN");
  ExpectButtonsBack();
  EXPECT_TRUE(tool->Dialogs().empty()) << "no box after a download";
  SaveScreenshot("download.png");
}

TEST_F(Download, TheHelpButtonShowsNoBoxWhileTheSiteAnswers) {
  drives.push_back(Drive::RemovableWithLabel(L'E', "PENDRIVE"));
  StartTool();
  ASSERT_TRUE(Click(w.helpButton));
  EXPECT_EQ(WaitForMessageBox(3000).box, nullptr) << "the page opens in the browser instead";
  EXPECT_TRUE(IsWindow(w.main));
}

using DownloadFailures = DownloadTest;

// A 404 replaces nothing: the drive had no installer and still has none,
// and no temporary file is left.
TEST_F(DownloadFailures, NotFoundShowsTheStatusLineWithAFullStopAndCreatesNoFile) {
  PressCopyWithSite("missing");
  const MessageBoxView box = WaitForMessageBox(20000);
  ASSERT_NE(box.box, nullptr) << "no error box";
  EXPECT_EQ(box.text, L"HTTP/1.1 404 Not Found.");
  EXPECT_TRUE(box.hasIcon) << "errors show the error icon";
  // The error page's own lines come before the error.
  EXPECT_EQ(w.LogLines(), Join({kConnect, kRefusedBody}));
  ASSERT_TRUE(PressOk(box.box));
  ExpectButtonsBack();
  EXPECT_FALSE(FileExists(Target()));
  EXPECT_EQ(wine_drives::ReplacementFilesIn(wine_drives::DosPath(drives.back().folder())), 0);
}

TEST_F(DownloadFailures, ARefusedConnectionShowsTheSocketErrorAndTheButtonsComeBack) {
  // The site takes the connectivity probe, then stops listening.
  PressCopyWithSite("refuse");
  const MessageBoxView box = WaitForMessageBox(20000);
  ASSERT_NE(box.box, nullptr) << "no error box";
  EXPECT_EQ(box.text, L"Socket Error # 10061\r\nConnection refused.");
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(w.LogLines(), (Lines{kConnect[0], kConnect[1], kConnect[2]}));
  EXPECT_FALSE(Enabled(w.main)) << "the box is modal: nothing else can be pressed meanwhile";
  ASSERT_TRUE(PressOk(box.box));
  ExpectButtonsBack();
  EXPECT_FALSE(FileExists(Target()));
  EXPECT_EQ(wine_drives::ReplacementFilesIn(wine_drives::DosPath(drives.back().folder())), 0);
}

TEST_F(DownloadFailures, ARedirectChainIsFollowedToTheInstaller) {
  PressCopyWithSite("redirect");
  // Each hop's thrown-away page has its own three lines; the log has
  // settled once the installer's body has ended too.
  const Lines expected = Join({kConnect,
                               {L"/hop/1 - GET"},
                               kBody,
                               {L"/hop/2 - GET"},
                               kBody,
                               {L"/files/dvl.exe - GET"},
                               kBody,
                               InstallerBody(Served())});
  EXPECT_TRUE(WaitUntil([&] { return w.LogLines().size() >= expected.size(); }, 20000));
  EXPECT_EQ(w.LogLines(), expected);
  EXPECT_TRUE(ReadBytes(Target()) == Served()) << "dvl.exe is not byte-identical to the file at the chain's end";
  ExpectButtonsBack();
  EXPECT_TRUE(tool->Dialogs().empty());
}

// Closing the window while a slow download runs asks first; No lets the
// download go on, Yes stops it and closes the tool, and the installer that
// was on the drive stays as it was, with no temporary file beside it.
TEST_F(DownloadFailures, ClosingTheWindowStopsASlowDownloadAndKeepsTheOldInstaller) {
  const std::vector<unsigned char> old = SampleBytes(5000, 7);
  PressCopyOverAnOldInstaller("slow", old);
  const auto downloading = [&] {
    const Lines log = w.LogLines();
    return !log.empty() && log.back().rfind(L"Pobieram dane : ", 0) == 0;
  };
  ASSERT_TRUE(WaitUntil(downloading, 20000)) << "the download did not start";

  const std::wstring question = L"Trwa przygotowywanie no\u015bnika.\r\rPrzerwa\u0107 i zamkn\u0105\u0107 program?";
  PostMessageW(w.main, WM_CLOSE, 0, 0);
  MessageBoxView box = WaitForMessageBox(10000);
  ASSERT_NE(box.box, nullptr) << "a close during the download asks first";
  EXPECT_EQ(box.text, question);
  ASSERT_TRUE(PressButton(box.box, IDNO));
  const Lines before = w.LogLines();
  EXPECT_TRUE(WaitUntil([&] { return w.LogLines() != before; }, 5000)) << "No lets the download go on";
  EXPECT_FALSE(tool->WaitForExit(0));

  PostMessageW(w.main, WM_CLOSE, 0, 0);
  box = WaitForMessageBox(10000);
  ASSERT_NE(box.box, nullptr);
  ASSERT_TRUE(PressButton(box.box, IDYES));
  DWORD exitCode = 1;
  EXPECT_TRUE(tool->WaitForExit(5000, &exitCode)) << "Yes stops the download and closes the tool";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(ReadBytes(Target()) == old) << "the old installer was touched";
  EXPECT_EQ(wine_drives::ReplacementFilesIn(wine_drives::DosPath(drives.back().folder())), 0);
}

// A server that is not the product site, however good its copy of the
// installer looks, or one that does not speak TLS: the box names the host
// and Windows' reason, nothing was requested, and the installer already on
// the drive stays.
struct Refusal {
  const char* route;
  const wchar_t* boxStart;  // Windows' reason follows
};

class Refusals : public DownloadTest, public testing::WithParamInterface<Refusal> {};

TEST_P(Refusals, TheBoxNamesTheHostAndTheOldInstallerStays) {
  const std::vector<unsigned char> old = SampleBytes(5000, 11);
  PressCopyOverAnOldInstaller(GetParam().route, old);
  const MessageBoxView box = WaitForMessageBox(20000);
  ASSERT_NE(box.box, nullptr) << "no error box";
  const std::wstring start = GetParam().boxStart;
  const std::string shown(box.text.begin(), box.text.end());  // the texts are ASCII
  std::printf("the box says: %s\n", shown.c_str());
  EXPECT_EQ(box.text.substr(0, start.size()), start) << shown;
  EXPECT_GT(box.text.size(), start.size()) << "Windows' reason is missing";
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(w.LogLines(), (Lines{kConnect[0], kConnect[1], kConnect[2]})) << "refused before any request";
  ASSERT_TRUE(PressOk(box.box));
  ExpectButtonsBack();
  EXPECT_TRUE(ReadBytes(Target()) == old) << "the old installer was touched";
  EXPECT_EQ(wine_drives::ReplacementFilesIn(wine_drives::DosPath(drives.back().folder())), 0);
}

INSTANTIATE_TEST_SUITE_P(DownloadRefusals, Refusals,
                         testing::Values(Refusal{"forged", L"The certificate of www.drovalin.pl was refused: "},
                                         Refusal{"plain-tls", L"No secure connection to www.drovalin.pl: "}),
                         [](const testing::TestParamInfo<Refusal>& refusal) {
                           return std::string(refusal.param.route) == "forged" ? "ForgedCertificate" : "PlainHttpOn443";
                         });

using NoInternet = ToolTest;

TEST_F(NoInternet, TheCopyButtonSaysSoAndCreatesNoFile) {
  drives.push_back(Drive::RemovableWithLabel(L'E', "drovalin-old"));
  StartTool();
  ASSERT_TRUE(StatusBecomes(L"E:\\"));
  ASSERT_TRUE(Click(w.copyButton));
  const MessageBoxView box = WaitForMessageBox(20000);
  ASSERT_NE(box.box, nullptr) << "no box";
  EXPECT_EQ(box.text, L"Brak dostępu do internetu\r\rNie mogę pobrać dvl.exe");
  EXPECT_FALSE(box.hasIcon);
  ASSERT_TRUE(PressOk(box.box));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(w.closeButton); }, 2000));
  EXPECT_EQ(Text(w.log), L"");
  EXPECT_FALSE(FileExists(drives.back().folder() + "/dvl.exe"));
  EXPECT_EQ(wine_drives::ReadLabelFile(drives.back().folder()), "DROVALIN") << "the label comes first";
}

TEST_F(NoInternet, TheHelpButtonSaysSo) {
  StartTool();
  ASSERT_TRUE(Click(w.helpButton));
  const MessageBoxView box = WaitForMessageBox(20000);
  ASSERT_NE(box.box, nullptr) << "no box";
  EXPECT_EQ(box.caption, kApplicationTitle);
  EXPECT_EQ(box.text, L"Brak dostępu do internetu\r\rNie mogę otworzyć strony z pomocą do programu");
  EXPECT_EQ(box.text.size(), 72u);
  EXPECT_FALSE(box.hasIcon);
  ASSERT_TRUE(PressOk(box.box));
  EXPECT_TRUE(IsWindow(w.main));
}

}  // namespace
