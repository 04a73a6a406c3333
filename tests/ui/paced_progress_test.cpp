#include "ui/paced_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_log.h"

namespace {

// A log and a pump that record into one list, and a clock the test moves.
class PacedProgressTest : public ::testing::Test {
 protected:
  PacedProgressTest()
      : log(events),
        paced(
            log, [this] { events.push_back(L"pump"); }, [this] { return clock; }) {}

  std::vector<std::wstring> events;
  RecordingLog log;
  std::uint64_t clock = 1000;
  PacedProgress paced;
};

TEST_F(PacedProgressTest, PumpsAtMostOncePerFrameAndShowsTheHeldLineFirst) {
  paced.ProcessMessages();  // the first call always pumps
  paced.ReplaceLastLine(L"a");
  clock += 5;
  paced.ProcessMessages();
  paced.ReplaceLastLine(L"b");
  clock += 14;
  paced.ProcessMessages();  // 19 ms after the first frame: not yet
  paced.ReplaceLastLine(L"c");
  clock += 1;
  paced.ProcessMessages();  // 20 ms: a frame
  EXPECT_EQ(events, (std::vector<std::wstring>{L"pump", L"=c", L"pump"}));
}

TEST_F(PacedProgressTest, NothingReachesTheLogOutOfOrder) {
  log.AppendLine(L"user line");
  paced.AppendLine(L"Pozostało : 8192 bytes");
  paced.ReplaceLastLine(L"Pozostało : 4096 bytes");
  paced.ReplaceLastLine(L"Pozostało : 0 bytes");
  EXPECT_EQ(paced.LastLine(), L"Pozostało : 0 bytes") << "a held line is what the log will show";
  EXPECT_EQ(log.LastLine(), L"Pozostało : 8192 bytes");
  paced.AppendLine(L"Ok");
  EXPECT_EQ(log.lines, (std::vector<std::wstring>{L"user line", L"Pozostało : 0 bytes", L"Ok"}));
  EXPECT_EQ(paced.LastLine(), L"Ok");
}

TEST_F(PacedProgressTest, FlushShowsTheHeldLineOnceAndReadsPassThrough) {
  EXPECT_EQ(paced.LastLine(), L"");
  paced.ReplaceLastLine(L"x");
  paced.Flush();
  paced.Flush();
  EXPECT_EQ(events, (std::vector<std::wstring>{L"=x"}));
  log.lines.back() = L"edited by the user";
  EXPECT_EQ(paced.LastLine(), L"edited by the user");
}

TEST_F(PacedProgressTest, ClockGoingBackDoesNotStopThePump) {
  paced.ProcessMessages();
  clock = 10;  // an origin that wrapped
  paced.ProcessMessages();
  EXPECT_EQ(events, (std::vector<std::wstring>{L"pump", L"pump"}));
}

}  // namespace
