// The download's event handlers played with scripted event sequences, as
// the HTTP client calls them: what lands in the log, in which order, with
// the message pumps and the controls switched on.
#include "ui/download/download_log_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "recording_log.h"

namespace {

class DownloadHandlersTest : public ::testing::Test {
 protected:
  DownloadHandlersTest() {
    actions.processMessages = [this] {
      events.push_back(L"pump");
      if (onPump) onPump();
    };
    actions.switchTimerOn = [this] { events.push_back(L"timer on"); };
    actions.enableCloseButton = [this] { events.push_back(L"close on"); };
    actions.showMessage = [this](const std::wstring& text) { events.push_back(L"box " + text); };
  }

  void Status(HttpStatus status, const std::string& text) { client().OnStatus(status, text); }
  // The writer as the HTTP client sees it.
  HttpEvents& client() { return writer; }

  std::vector<std::wstring> events;
  RecordingLog log{events};
  std::int32_t iloscDoPobrania = 77;
  std::int32_t iloscPobranych = 77;
  DownloadWindowActions actions;
  std::function<void()> onPump;
  DownloadLogWriter writer{log, iloscDoPobrania, iloscPobranych, actions};
};

TEST_F(DownloadHandlersTest, BodyInBlocksOfOneThreeAndFourBytes) {
  log.AppendLine(L"Pobieram : dvl.exe");
  Status(HttpStatus::Resolving, "Resolving hostname www.drovalin.pl.");
  Status(HttpStatus::Connecting, "Connecting to 127.0.0.1.");
  Status(HttpStatus::Connected, "Connected.");
  client().OnConnected();
  EXPECT_EQ(iloscDoPobrania, 0);
  EXPECT_EQ(iloscPobranych, 0);
  client().OnWorkBegin(WorkMode::Read, 8);
  EXPECT_EQ(iloscDoPobrania, 8);
  client().OnWork(WorkMode::Read, 1);
  client().OnWork(WorkMode::Read, 4);
  client().OnWork(WorkMode::Read, 8);
  EXPECT_EQ(iloscPobranych, 8);
  client().OnWorkEnd(WorkMode::Read, true);

  const std::vector<std::wstring> expected = {
      L"+Pobieram : dvl.exe",
      L"+Resolving hostname www.drovalin.pl.",
      L"+Connecting to 127.0.0.1.",
      L"+Connected.",
      L"+Rozpocz\u0119to pobieranie pliku",
      L"pump",
      L"+Pobieram dane : 12 %",
      L"pump",
      L"=Pobieram dane : 50 %",
      L"pump",
      L"=Pobieram dane : 100 %",
      L"+Pobieranie pliku zako\u0144czone - Sukces",
      L"timer on",
      L"close on",
  };
  EXPECT_EQ(events, expected);
}

TEST_F(DownloadHandlersTest, BodyCutShortEndsInFailure) {
  client().OnWorkBegin(WorkMode::Read, 8);
  client().OnWork(WorkMode::Read, 3);
  Status(HttpStatus::Disconnected, "Disconnected.");
  client().OnWorkEnd(WorkMode::Read, false);
  const std::vector<std::wstring> expected = {L"Rozpocz\u0119to pobieranie pliku", L"Pobieram dane : 38 %",
                                              L"Disconnected.", L"Pobieranie pliku zako\u0144czone - Niepowodzenie"};
  EXPECT_EQ(log.lines, expected);
}

// Without an announced length the line counts bytes and the client's word on
// how the body ended gives the verdict.
TEST_F(DownloadHandlersTest, BodiesOfUnknownLength) {
  for (bool complete : {true, false}) {
    log.lines.clear();
    Status(HttpStatus::StatusText, "Chunk Started");
    client().OnWorkBegin(WorkMode::Read, 0);
    client().OnWork(WorkMode::Read, 16384);
    client().OnWork(WorkMode::Read, 70000);
    client().OnWorkEnd(WorkMode::Read, complete);
    const std::vector<std::wstring> expected = {
        L"Chunk Started", L"Rozpocz\u0119to pobieranie pliku", L"Pobieram dane : 70000 bytes",
        complete ? L"Pobieranie pliku zako\u0144czone - Sukces" : L"Pobieranie pliku zako\u0144czone - Niepowodzenie"};
    EXPECT_EQ(log.lines, expected) << complete;
  }
}

// The window's counters keep their low 32 bits; the log's figures are taken
// from the full counts.
TEST_F(DownloadHandlersTest, CountersBeyondTwoGibibytesTakeTheLow32BitsAndTheLogTheFullCounts) {
  const std::int64_t size = std::int64_t{3} << 30;
  client().OnWorkBegin(WorkMode::Read, size);
  EXPECT_EQ(iloscDoPobrania, -(1 << 30));
  EXPECT_EQ(iloscPobranych, 0);
  client().OnWork(WorkMode::Read, std::int64_t{1} << 31);
  EXPECT_EQ(iloscPobranych, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(log.LastLine(), L"Pobieram dane : 67 %");
  client().OnWork(WorkMode::Read, size);
  EXPECT_EQ(log.LastLine(), L"Pobieram dane : 100 %");
  client().OnWorkEnd(WorkMode::Read, true);
  EXPECT_EQ(log.LastLine(), L"Pobieranie pliku zako\u0144czone - Sukces");
}

// What the user typed into the log decides whether the percentage line
// overwrites the last line: only a line with the words, in any case.
TEST_F(DownloadHandlersTest, LastLineTheUserLeftDecidesReplaceOrAppend) {
  struct Case {
    const char* name;
    std::vector<std::wstring> logAtFirstWork;
    std::vector<std::wstring> logAfter;
  };
  const Case cases[] = {
      {"user line in capitals",
       {L"Pobieram : dvl.exe", L"Rozpocz\u0119to pobieranie pliku", L"POBIERAM DANE : 12 %"},
       {L"Pobieram : dvl.exe", L"Rozpocz\u0119to pobieranie pliku", L"Pobieram dane : 50 %"}},
      {"words inside a longer line",
       {L"Pobieram : dvl.exe", L"abc pobieram DANE :xyz"},
       {L"Pobieram : dvl.exe", L"Pobieram dane : 50 %"}},
      {"the line before the GET", {L"Pobieram : dvl.exe"}, {L"Pobieram : dvl.exe", L"Pobieram dane : 50 %"}},
      {"emptied log", {}, {L"Pobieram dane : 50 %"}},
  };
  for (const Case& c : cases) {
    log.lines = {L"Pobieram : dvl.exe"};
    client().OnWorkBegin(WorkMode::Read, 8);
    onPump = [&] { log.lines = c.logAtFirstWork; };
    client().OnWork(WorkMode::Read, 4);
    EXPECT_EQ(log.lines, c.logAfter) << c.name;
  }
}

TEST_F(DownloadHandlersTest, RedirectLineLeavesTheClientsValuesAlone) {
  std::string dest = "/files/dvl.exe";
  std::int32_t numRedirect = 3;
  bool handled = true;
  std::string method = "GET";
  client().OnRedirect(dest, numRedirect, handled, method);
  EXPECT_EQ(log.lines, std::vector<std::wstring>{L"/files/dvl.exe - GET"});
  EXPECT_EQ(dest, "/files/dvl.exe");
  EXPECT_EQ(numRedirect, 3);
  EXPECT_TRUE(handled);
  EXPECT_EQ(method, "GET");

  std::string absolute = "http://files.drovalin.pl/a%20b/dvl.exe?x=1";
  client().OnRedirect(absolute, numRedirect, handled, method);
  EXPECT_EQ(log.LastLine(), L"http://files.drovalin.pl/a%20b/dvl.exe?x=1 - GET");
}

// A Location of 100 KB is followed in full, but the log shows its first
// 1,000 characters: word-wrapping the whole of it froze the window.
TEST_F(DownloadHandlersTest, RedirectLineShowsAThousandCharactersOfAHugeLocation) {
  std::string dest = "/" + std::string(std::size_t{100} * 1024, 'a');
  std::int32_t numRedirect = 1;
  bool handled = true;
  std::string method = "GET";
  client().OnRedirect(dest, numRedirect, handled, method);
  EXPECT_EQ(log.LastLine(), L"/" + std::wstring(999, L'a') + L"\u2026 - GET");
  EXPECT_EQ(dest.size(), 100u * 1024 + 1);
  Status(HttpStatus::Resolving, "Resolving hostname " + std::string(5000, 'h') + ".");
  EXPECT_EQ(log.LastLine(), L"Resolving hostname " + std::wstring(981, L'h') + L"\u2026");
}

TEST_F(DownloadHandlersTest, DisconnectedSwitchesControlsOnWithoutALine) {
  Status(HttpStatus::Disconnecting, "Disconnecting.");
  client().OnDisconnected();
  Status(HttpStatus::Disconnected, "Disconnected.");
  const std::vector<std::wstring> expected = {L"+Disconnecting.", L"timer on", L"close on", L"+Disconnected."};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(iloscDoPobrania, 77);
  EXPECT_EQ(iloscPobranych, 77);
}

// Lengths whose low 32 bits mislead: 4 GiB + 1000 read as 1000 bytes, a
// 3 GiB body read as a negative length.
TEST_F(DownloadHandlersTest, PercentagesStayBetweenZeroAndAHundred) {
  struct Row {
    std::int64_t expected;
    std::vector<std::int64_t> counts;
    std::vector<const wchar_t*> lines;
  };
  const Row rows[] = {
      {(std::int64_t{1} << 32) + 1000,
       {1000, std::int64_t{1} << 31, (std::int64_t{1} << 32) + 1000},
       {L"Pobieram dane : 0 %", L"Pobieram dane : 50 %", L"Pobieram dane : 100 %"}},
      {std::int64_t{3} << 30,
       {std::int64_t{3} << 29, std::int64_t{3} << 30},
       {L"Pobieram dane : 50 %", L"Pobieram dane : 100 %"}},
      {std::int64_t{1} << 32,
       {std::int64_t{1} << 31, std::int64_t{1} << 32},
       {L"Pobieram dane : 50 %", L"Pobieram dane : 100 %"}},
  };
  for (const Row& row : rows) {
    log.lines.clear();
    client().OnWorkBegin(WorkMode::Read, row.expected);
    for (std::size_t i = 0; i < row.counts.size(); ++i) {
      client().OnWork(WorkMode::Read, row.counts[i]);
      EXPECT_EQ(log.LastLine(), row.lines[i]) << row.expected << " " << row.counts[i];
    }
    client().OnWorkEnd(WorkMode::Read, true);
    EXPECT_EQ(log.LastLine(), L"Pobieranie pliku zako\u0144czone - Sukces") << row.expected;
  }
}

// A copy action run nested inside the pump clears the counters before its
// own download fails; the running body still ends with the right verdict.
TEST_F(DownloadHandlersTest, CountersClearedByANestedHandler) {
  client().OnWorkBegin(WorkMode::Read, 8);
  onPump = [&] {
    iloscDoPobrania = 0;
    iloscPobranych = 0;
  };
  client().OnWork(WorkMode::Read, 4);
  EXPECT_EQ(log.LastLine(), L"Pobieram dane : 4 bytes");
  onPump = nullptr;
  client().OnWork(WorkMode::Read, 8);
  EXPECT_EQ(log.LastLine(), L"Pobieram dane : 8 bytes");
  client().OnWorkEnd(WorkMode::Read, true);
  EXPECT_EQ(log.LastLine(), L"Pobieranie pliku zako\u0144czone - Sukces");
}

// A handler that throws stops the GET; the exception must come out of the
// handler untouched and nothing be written after it.
TEST_F(DownloadHandlersTest, PumpThatThrowsLeavesTheLogAsItWas) {
  client().OnWorkBegin(WorkMode::Read, 8);
  onPump = [] { throw std::runtime_error("nested"); };
  EXPECT_THROW(client().OnWork(WorkMode::Read, 4), std::runtime_error);
  EXPECT_EQ(iloscPobranych, 0);
  EXPECT_EQ(log.lines, std::vector<std::wstring>{L"Rozpocz\u0119to pobieranie pliku"});
}

}  // namespace
