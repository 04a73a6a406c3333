// DownloadInstaller as the window calls it: the real client over Wine's
// Schannel, real files on drives that Wine maps as it maps a USB stick, and
// a real https server (tests/ui/download/download_site.py) in a private
// network made by scripts/netns-run, where the product host resolves to
// 127.0.0.1 and only the tests' own CA is trusted.
#include "system/drive_text.h"
#include "ui/download/download_installer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/product.h"
#include "http/http_error.h"
#include "recording_log.h"
#include "system/connectivity_scripted_probe.h"
#include "system/sha256.h"
#include "system/win32.h"
#include "ui/download/download_text.h"
#include "wine_drives.h"

using wine_drives::Drive;
using wine_drives::NewFolder;
using wine_drives::ReadOnlyFolder;

namespace {

// The body the site serves: byte i is (i * 31 + (i >> 8)) & 0xFF.
std::string SiteBody() {
  std::string body(300001, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 31 + (i >> 8)) & 0xFF);
  return body;
}

class MemorySink final : public OutputSink {
 public:
  void Write(const char* data, std::size_t size) override { text.append(data, size); }
  std::string text;
};

class QuietEvents final : public HttpEvents {
 public:
  void OnStatus(HttpStatus, const std::string&) override {}
  void OnConnected() override {}
  void OnDisconnected() override {}
  void OnRedirect(std::string&, std::int32_t&, bool&, std::string&) override {}
  void OnWorkBegin(WorkMode, std::int64_t) override {}
  void OnWork(WorkMode, std::int64_t) override {}
  void OnWorkEnd(WorkMode, bool) override {}
};

// Asks the test site something over a connection of its own.
std::string AskSite(const std::string& path) {
  QuietEvents quiet;
  HttpClient client(quiet);
  MemorySink sink;
  client.Get(std::string(ProductSiteUrlA) + path, sink);
  return sink.text;
}

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got != 0) content.append(buffer, got);
  return content;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.valid()) << "error " << GetLastError();
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// Whether nobody holds the file any more: an open that shares nothing
// succeeds only then.
bool OpensExclusively(const std::wstring& path) {
  return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
      .valid();
}

const std::wstring kStartLine = L"Rozpocz\u0119to pobieranie pliku";
const std::wstring kSuccessLine = L"Pobieranie pliku zako\u0144czone - Sukces";
const std::vector<std::wstring> kNewConnectionLines = {L"Resolving hostname www.drovalin.pl.",
                                                       L"Connecting to 127.0.0.1.", L"Connected."};

std::vector<std::wstring> Joined(std::vector<std::wstring> first, const std::vector<std::wstring>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::wstring DigestLine(const std::string& bytes) {
  Sha256 hash;
  hash.Update(bytes.data(), bytes.size());
  return L"SHA-256 : " + HexDigest(hash.Finish());
}

// The lines of the read-back check of the site's installer, and the end.
std::vector<std::wstring> CheckedSuccessLines() {
  return {L"Sprawdzam zapis E:\\dvl.exe", L"Do sprawdzenia : 0 bytes", DigestLine(SiteBody()), kSuccessLine};
}

class DownloadInstallerTest : public ::testing::Test {
 protected:
  DownloadInstallerTest() {
    actions.processMessages = [this] {
      events.push_back(L"pump");
      ++pumps;
      if (onPump) onPump(pumps);
    };
    actions.switchTimerOn = [this] { events.push_back(L"timer on"); };
    actions.enableCloseButton = [this] { events.push_back(L"close on"); };
    actions.showMessage = [this](const std::wstring& text) { events.push_back(L"box " + text); };
    download = std::make_unique<InstallerDownload>(log, iloscDoPobrania, iloscPobranych, actions);
  }

  void SetUp() override {
    // Outside the private network the download would reach the real site.
    ASSERT_GT(GetEnvironmentVariableW(L"MPI_PRIVATE_NETWORK", nullptr, 0), 0u) << "run through scripts/netns-run only";
    SiteMode("ok");
    SiteCertificate("good");
  }

  static void SiteMode(const std::string& mode) { ASSERT_EQ(AskSite("/__mode/" + mode), "ok"); }
  // What port 443 presents from the next connection on.
  static void SiteCertificate(const std::string& name) { ASSERT_EQ(AskSite("/__certificate/" + name), "ok"); }

  // What ProvideInstaller does before it calls the download.
  void Download() {
    iloscDoPobrania = 0;
    iloscPobranych = 0;
    download->DownloadInstaller(L"dvl.exe", SelectorRoot(selectorText));
  }

  // The events of one body read in several blocks, from `from` on: a pump
  // before every percentage line, the first one appended after the start
  // line and the rest overwriting it, rising to 100 %.
  void ExpectOneOverwrittenPercentageLine(std::size_t from) {
    ASSERT_GT(events.size(), from + 4);
    EXPECT_EQ(events[from], L"+" + kStartLine);
    std::size_t at = from + 1;
    std::int64_t last = -1;
    int works = 0;
    while (at + 1 < events.size() && events[at] == L"pump") {
      const std::wstring& line = events[at + 1];
      const std::wstring prefix = works == 0 ? L"+Pobieram dane : " : L"=Pobieram dane : ";
      ASSERT_EQ(line.rfind(prefix, 0), 0u) << "event " << at + 1;
      ASSERT_EQ(line.substr(line.size() - 2), L" %");
      const std::int64_t percentage = std::stoll(line.substr(prefix.size()));
      EXPECT_GE(percentage, last);
      last = percentage;
      ++works;
      at += 2;
    }
    EXPECT_GE(works, 2) << "the body came in one block: nothing was overwritten";
    EXPECT_EQ(last, 100);
    // The body is read back from the medium in one block, with the window
    // run before its line.
    const std::vector<std::wstring> after = {L"+Sprawdzam zapis E:\\dvl.exe",
                                             L"+Do sprawdzenia : 300001 bytes",
                                             L"pump",
                                             L"=Do sprawdzenia : 0 bytes",
                                             L"+" + DigestLine(SiteBody()),
                                             L"+" + kSuccessLine,
                                             L"timer on",
                                             L"close on"};
    EXPECT_EQ(std::vector<std::wstring>(events.begin() + static_cast<std::ptrdiff_t>(at), events.end()), after);
  }

  Drive drive = Drive::RemovableWithLabel(L'E', "DROVALIN");
  std::wstring selectorText = L"E:\\    [DROVALIN]";
  const std::wstring target = L"E:\\dvl.exe";

  std::vector<std::wstring> events;
  RecordingLog log{events};
  std::int32_t iloscDoPobrania = 77;
  std::int32_t iloscPobranych = 77;
  DownloadWindowActions actions;
  int pumps = 0;
  std::function<void(int pump)> onPump;
  std::unique_ptr<InstallerDownload> download;
};

TEST_F(DownloadInstallerTest, InstallerArrivesOnTheDriveWithTheLogLines) {
  Download();

  EXPECT_EQ(log.lines, Joined(Joined({L"Pobieram : dvl.exe"}, kNewConnectionLines),
                              Joined({kStartLine, L"Pobieram dane : 100 %"}, CheckedSuccessLines())));
  EXPECT_EQ(events[0], L"+Pobieram : dvl.exe");
  ExpectOneOverwrittenPercentageLine(1 + kNewConnectionLines.size());
  EXPECT_EQ(iloscDoPobrania, 300001);
  EXPECT_EQ(iloscPobranych, 300001);
  EXPECT_EQ(ReadWholeFile(target), SiteBody());
  EXPECT_TRUE(OpensExclusively(target)) << "the target is still held";

  EXPECT_EQ(AskSite("/__last-request"),
            "GET /dvl.exe HTTP/1.1\r\n"
            "Host: www.drovalin.pl\r\n"
            "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n");
}

// The client outlives one download: the next one goes over the connection
// the server kept open, so no connection lines and no connected event.
TEST_F(DownloadInstallerTest, SecondDownloadUsesTheKeptConnection) {
  Download();
  events.clear();
  log.lines.clear();
  ASSERT_TRUE(DeleteFileW(target.c_str()));

  Download();
  EXPECT_EQ(log.lines, Joined({L"Pobieram : dvl.exe", kStartLine, L"Pobieram dane : 100 %"}, CheckedSuccessLines()));
  ExpectOneOverwrittenPercentageLine(1);
  EXPECT_EQ(ReadWholeFile(target), SiteBody());
}

// A download that does not bring the whole installer onto the medium
// leaves the one already there byte for byte, and no temporary file.
TEST_F(DownloadInstallerTest, FailedDownloadKeepsTheOldInstaller) {
  struct Case {
    const char* mode;
    const char* error;  // what leaves DownloadInstaller, "" for none
    std::vector<std::wstring> lastLines;
  };
  const Case cases[] = {
      // An error page is not the installer, however whole it came.
      {"notfound",
       "HTTP/1.1 404 Not Found",
       {kStartLine, L"Pobieram dane : 100 %", L"Pobieranie pliku zako\u0144czone - Niepowodzenie"}},
      {"cut", "", {L"Disconnected.", L"Pobieranie pliku zako\u0144czone - Niepowodzenie"}},
      // With no length, only TLS's close_notify tells the body's end from a
      // cut. (Wine's Schannel does not pass a close_notify on to libcurl, so
      // there even a body that has one ends as cut; Windows' ends it.)
      {"until-close", "", {L"Disconnected.", L"Pobieranie pliku zako\u0144czone - Niepowodzenie"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    WriteWholeFile(target, "old installer");
    SiteMode(c.mode);
    log.lines.clear();
    std::string error;
    try {
      Download();
    } catch (const HttpError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error);
    ASSERT_GE(log.lines.size(), c.lastLines.size());
    EXPECT_EQ(
        std::vector<std::wstring>(log.lines.end() - static_cast<std::ptrdiff_t>(c.lastLines.size()), log.lines.end()),
        c.lastLines);
    EXPECT_EQ(ReadWholeFile(target), "old installer");
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"E:\\"), 0);
  }
}

// A fake or failing stick takes the whole download and gives other bytes
// back (tests/support/faulty_medium.py): the check tells, the download ends
// as a failure with its box, and the installer already there stays.
TEST_F(DownloadInstallerTest, DownloadThatComesBackOtherwiseFromTheMediumKeepsTheOldInstaller) {
  struct Case {
    const char* fault;
    std::string error;  // "" for a download that ends "- Sukces"
  };
  const std::string mismatch =
      "Dysk odda\u0142 inne dane ni\u017c zapisane do G:\\dvl.exe. Mo\u017ce by\u0107 uszkodzony albo podrobiony "
      "(mie\u015bci mniej, ni\u017c podaje).\r\nNowy instalator nie zosta\u0142 zapisany; to, co by\u0142o na "
      "dysku, pozosta\u0142o bez zmian.";
  const Case cases[] = {
      {"zeros 400000", ""},  // past the installer's 300001 bytes
      {"zeros 200000", mismatch},
      {"flip 300000", mismatch},
      {"eio 0", "Nie mo\u017cna odczyta\u0107 z dysku zapisanego G:\\dvl.exe: "},
  };
  Drive medium = Drive::Removable(L'G', wine_drives::FaultyMediumFolder());
  selectorText = L"G:\\";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    WriteWholeFile(L"G:\\dvl.exe", "old installer");
    wine_drives::SetMediumFault(c.fault);
    log.lines.clear();
    std::string error;
    try {
      Download();
    } catch (const std::runtime_error& e) {
      error = e.what();
    }
    wine_drives::SetMediumFault("none");
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"G:\\"), 0);
    if (c.error.empty()) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(log.LastLine(), kSuccessLine);
      EXPECT_EQ(ReadWholeFile(L"G:\\dvl.exe"), SiteBody());
      continue;
    }
    EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(log.LastLine(), L"Pobieranie pliku zako\u0144czone - Niepowodzenie");
    EXPECT_EQ(ReadWholeFile(L"G:\\dvl.exe"), "old installer");
  }
}

// The installer comes only from a server whose certificate Windows trusts
// for the product host, and never over plain http: every refusal names the
// host and the reason, and leaves the old installer as it was.
TEST_F(DownloadInstallerTest, OnlyAVerifiedServerReplacesTheInstaller) {
  struct Case {
    const char* certificate;
    const char* mode;
    std::string error;  // the start of it; the platform's reason follows
    bool replaced;
  };
  const std::string refused = "The certificate of www.drovalin.pl was refused: ";
  const Case cases[] = {
      {"untrusted", "ok", refused, false},
      {"wrong-host", "ok", refused, false},
      {"expired", "ok", refused, false},
      {"plain", "ok", "No secure connection to www.drovalin.pl: ", false},
      {"good", "to-http", "Redirect refused: it leaves https for plain http: http://www.drovalin.pl/dvl.exe", false},
      {"good", "cookie", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.certificate) + " " + c.mode);
    WriteWholeFile(target, "old installer");
    SiteCertificate(c.certificate);
    SiteMode(c.mode);
    std::string error;
    try {
      Download();
    } catch (const HttpError& e) {
      error = e.what();
    }
    if (c.error.empty()) {
      EXPECT_EQ(error, "");
    } else {
      EXPECT_EQ(error.substr(0, c.error.size()), c.error) << error;
      if (c.error.back() == ' ') {
        EXPECT_GT(error.size(), c.error.size()) << "the reason is missing";
      }
    }
    EXPECT_EQ(ReadWholeFile(target), c.replaced ? SiteBody() : "old installer");
    EXPECT_EQ(wine_drives::ReplacementFilesIn(L"E:\\"), 0);
  }
}

// A medium that fills up: "- Niepowodzenie", then the write error naming
// the installer; the old installer stays.
TEST_F(DownloadInstallerTest, FullMediumEndsInFailureThenTheErrorAndKeepsTheOldInstaller) {
  Drive full = Drive::Removable(L'F', NewFolder("full"));
  selectorText = L"F:\\    [DROVALIN]";
  WriteWholeFile(L"F:\\dvl.exe", "old installer");
  std::string error;
  try {
    Download();
  } catch (const HttpError& e) {
    FAIL() << "the GET failed: " << e.what();
  } catch (const std::runtime_error& e) {
    error = e.what();
  }
  EXPECT_EQ(error.rfind("Cannot write file \"F:\\dvl.exe\". ", 0), 0u) << error;
  EXPECT_EQ(log.LastLine(), L"Pobieranie pliku zako\u0144czone - Niepowodzenie");
  EXPECT_EQ(ReadWholeFile(L"F:\\dvl.exe"), "old installer");
  EXPECT_EQ(wine_drives::ReplacementFilesIn(L"F:\\"), 0);
}

TEST_F(DownloadInstallerTest, ChunkedBodyCountsBytesAndSucceeds) {
  SiteMode("chunked");
  Download();
  EXPECT_EQ(log.lines,
            Joined(Joined({L"Pobieram : dvl.exe"}, kNewConnectionLines),
                   Joined({L"Chunk Started", kStartLine, L"Pobieram dane : 300001 bytes"}, CheckedSuccessLines())));
  EXPECT_EQ(ReadWholeFile(target), SiteBody());
}

TEST_F(DownloadInstallerTest, NoAccessShowsTheBoxAndCreatesNothing) {
  const auto probe = std::make_shared<ScriptedProbe>(true, kInternetConnectionLan, false);
  download->DownloadInstaller(L"dvl.exe", SelectorRoot(selectorText), probe);
  EXPECT_EQ(probe->probes, (std::vector<ProbeCall>{{ProductSiteUrl, kForceConnection}}));
  EXPECT_EQ(events,
            std::vector<std::wstring>{L"box Brak dost\u0119pu do internetu\r\rNie mog\u0119 pobra\u0107 dvl.exe"});
  EXPECT_EQ(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DownloadInstallerTest, ReadOnlyDriveGivesTheCreateErrorAndNoLine) {
  Drive readOnly = Drive::Removable(L'F', ReadOnlyFolder("drovalin"));
  selectorText = L"F:\\    [DROVALIN]";
  const std::optional<std::string> before = ReadWholeFile(L"F:\\dvl.exe");
  ASSERT_TRUE(before.has_value());

  std::string error;
  try {
    Download();
  } catch (const HttpError&) {
    FAIL() << "the GET ran";
  } catch (const std::runtime_error& e) {
    error = e.what();
  }
  const std::string prefix = "Cannot create file \"F:\\dvl.exe\". ";
  EXPECT_EQ(error.rfind(prefix, 0), 0u) << error;
  EXPECT_GT(error.size(), prefix.size()) << "no platform message";
  EXPECT_NE(error.back(), '.');
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(ReadWholeFile(L"F:\\dvl.exe"), before);
}

// While the GET runs the body goes into a temporary file held with no
// sharing; the installer already on the drive stays readable and unchanged
// until the whole body is there.
TEST_F(DownloadInstallerTest, OldInstallerStaysUntilTheBodyIsWhole) {
  WriteWholeFile(target, "old installer");
  std::optional<std::string> during;
  int temporaries = 0;
  DWORD openError = 0;
  onPump = [&](int pump) {
    if (pump != 1) return;
    during = ReadWholeFile(target);
    temporaries = wine_drives::ReplacementFilesIn(L"E:\\");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wine_drives::ReplacementFilePattern(L"E:\\").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FindClose(search);
    UniqueHandle file(CreateFileW((std::wstring(L"E:\\") + found.cFileName).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    openError = file ? 0 : GetLastError();
  };
  Download();

  EXPECT_EQ(during, "old installer");
  EXPECT_EQ(temporaries, 1);
  EXPECT_EQ(openError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(log.LastLine(), kSuccessLine);
  EXPECT_EQ(ReadWholeFile(target), SiteBody());
  EXPECT_EQ(wine_drives::ReplacementFilesIn(L"E:\\"), 0);
}

// What the user typed into the log before the first percentage line decides
// whether that line overwrites or follows; the platform upper-cases.
TEST_F(DownloadInstallerTest, UserEditsOfTheLogDuringTheGet) {
  struct Case {
    const char* name;
    std::function<void()> edit;
    std::vector<std::wstring> linesAfter;
  };
  const Case cases[] = {
      {"user line in capitals", [this] { log.AppendLine(L"POBIERAM DANE : 12 %"); },
       Joined({L"Pobieram : dvl.exe", kStartLine, L"Pobieram dane : 100 %"}, CheckedSuccessLines())},
      {"start line removed", [this] { log.lines.pop_back(); },
       Joined({L"Pobieram : dvl.exe", L"Pobieram dane : 100 %"}, CheckedSuccessLines())},
      {"emptied log", [this] { log.lines.clear(); }, Joined({L"Pobieram dane : 100 %"}, CheckedSuccessLines())},
  };
  Download();  // opens the connection: the downloads below log no connection lines
  for (const Case& c : cases) {
    log.lines.clear();
    bool edited = false;
    onPump = [&](int) {
      if (!edited) c.edit();
      edited = true;
    };
    Download();
    onPump = nullptr;
    EXPECT_EQ(log.lines, c.linesAfter) << c.name;
  }
}

}  // namespace
