// The progress log's line operations on the real Memo1: lines as shown,
// wrapped pieces included.
#include <windows.h>

#include "form_fixture.h"

namespace {

class MemoTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    // Line counts depend on the font: pin a fixed-pitch one and no margins.
    font_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    SendMessageW(memo(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    SendMessageW(memo(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    // How many characters a shown line holds, as the edit itself breaks a
    // word too long for one line.
    SetWindowTextW(memo(), std::wstring(400, L'm').c_str());
    perLine_ = static_cast<int>(SendMessageW(memo(), EM_LINELENGTH, 0, 0));
    SetWindowTextW(memo(), L"");
    ASSERT_GT(perLine_, 10);
    ASSERT_LT(perLine_, 100);
  }
  void TearDown() override {
    FormTest::TearDown();
    DeleteObject(font_);
  }
  HWND memo() const { return form->Memo1.hwnd(); }
  Memo& log() { return form->Memo1; }

  HFONT font_ = nullptr;
  int perLine_ = 0;
};

TEST_F(MemoTest, AppendsAndReplacesWholeLines) {
  EXPECT_EQ(log().LineCount(), 0);
  EXPECT_EQ(log().LastLine(), L"");
  log().ReplaceLastLine(L"first");  // an empty log gets the line
  EXPECT_EQ(log().Text(), L"first");
  log().AppendLine(L"Pobieranie: 0%");
  EXPECT_EQ(log().Text(), L"first\r\nPobieranie: 0%");
  EXPECT_EQ(log().LastLine(), L"Pobieranie: 0%");
  log().ReplaceLastLine(L"Pobieranie: 50%");
  EXPECT_EQ(log().Text(), L"first\r\nPobieranie: 50%");
  EXPECT_EQ(log().LineCount(), 2);

  // The user typed a line break at the end: that empty line is no line, and
  // the next line goes there.
  SetWindowTextW(memo(), L"first\r\nuser\r\n");
  EXPECT_EQ(log().LineCount(), 2);
  EXPECT_EQ(log().LastLine(), L"user");
  log().AppendLine(L"Ok");
  EXPECT_EQ(log().Text(), L"first\r\nuser\r\nOk");
}

TEST_F(MemoTest, WrappedTextCountsAsSeveralLinesAndOnlyItsLastPieceIsReplaced) {
  log().AppendLine(L"start");
  // One word longer than two lines: the edit breaks it where a line is full.
  const std::wstring longWord(static_cast<size_t>(2 * perLine_ + 5), L'x');
  log().AppendLine(longWord);
  EXPECT_EQ(log().LineCount(), 4);
  EXPECT_EQ(log().LastLine(), L"xxxxx");

  log().ReplaceLastLine(L"50%");
  EXPECT_EQ(log().Text(), L"start\r\n" + std::wstring(static_cast<size_t>(2 * perLine_), L'x') + L"50%");
  EXPECT_EQ(log().LastLine(), L"50%");
  EXPECT_EQ(log().LineCount(), 4);

  // Words wrap at blanks: the last piece is the tail after the last break.
  log().AppendLine(std::wstring(static_cast<size_t>(perLine_ - 3), L'a') + L" tail end");
  EXPECT_EQ(log().LastLine(), L"tail end");
  EXPECT_EQ(log().LineCount(), 6);
}

TEST_F(MemoTest, KeepsGrowingBeyondWhatItCanShow) {
  for (int i = 1; i <= 60; ++i) log().AppendLine(L"line " + std::to_wstring(i));
  EXPECT_EQ(log().LineCount(), 60);
  EXPECT_EQ(log().LastLine(), L"line 60");
  // The newest line is the one in view.
  const auto firstVisible = SendMessageW(memo(), EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(firstVisible, 50);
}

}  // namespace
