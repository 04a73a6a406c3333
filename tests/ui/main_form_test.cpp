// The window as it starts, its option rule, closing, the default error
// handler, the real timer and DPI changes.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <stdexcept>
#include <vector>

#include "form_fixture.h"
#include "ui/window/window.h"
#include "wine_drives.h"

using wine_drives::Drive;

namespace {

using MainFormTest = FormTest;

void ExpectPlace(const RECT& r, int left, int top, int width, int height, const char* what) {
  EXPECT_EQ(r.left, left) << what;
  EXPECT_EQ(r.top, top) << what;
  EXPECT_EQ(r.right - r.left, width) << what;
  EXPECT_EQ(r.bottom - r.top, height) << what;
}

// Before its first poll the window has the system keep its critical-error
// boxes to itself: asking an empty card reader for its label would show
// one every second.
TEST(MainFormErrorModeTest, WindowTurnsOffTheSystemsCriticalErrorBoxes) {
  SetErrorMode(0);
  ASSERT_EQ(GetErrorMode() & SEM_FAILCRITICALERRORS, 0u);
  {
    RecordingForm form;
    EXPECT_NE(GetErrorMode() & SEM_FAILCRITICALERRORS, 0u);
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST_F(MainFormTest, StartsAsDescribedAndNothingCanBeCopiedBeforeTheFirstTick) {
  Drive e = Drive::RemovableWithLabel(L'E', "ABC");
  Restart();
  ASSERT_EQ(form->Dpi(), 96);

  EXPECT_EQ(WindowText(window), L"Utwórz dysk instalacyjny Drovalin (na nośniku wymiennym)");
  EXPECT_EQ(ClientSize().cx, 457);
  EXPECT_EQ(ClientSize().cy, 391);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  ExpectPlace(PlaceOf(form->Bevel1), 16, 8, 353, 50, "Bevel1");
  ExpectPlace(PlaceOf(form->BitBtn2), 376, 8, 49, 49, "BitBtn2");
  // Label1 sizes itself to its text in the font at hand, keeping its right edge.
  EXPECT_EQ(PlaceOf(form->Label1).right, 18 + 175);
  EXPECT_EQ(PlaceOf(form->Label1).top, 66);
  ExpectPlace(PlaceOf(form->Panel2), 2, 88, 415, 3, "Panel2");
  ExpectPlace(PlaceOf(form->GroupBox1), 8, 128, 417, 177, "GroupBox1");
  ExpectPlace(PlaceOf(form->KopiujInstalatorCheckBox1), 8 + 16, 128 + 133, 390, 17, "KopiujInstalatorCheckBox1");
  ExpectPlace(PlaceOf(form->PobierzZNetuCheckBox1), 8 + 16, 128 + 152, 390, 17, "PobierzZNetuCheckBox1");
  ExpectPlace(PlaceOf(form->Memo1), 8, 312, 281, 73, "Memo1");
  ExpectPlace(PlaceOf(form->BitBtn1), 296, 312, 129, 41, "BitBtn1");
  ExpectPlace(PlaceOf(form->BitBtnKoniec), 296, 360, 131, 25, "BitBtnKoniec");
  const RECT combo = PlaceOf(form->DriveComboBox);
  EXPECT_EQ(combo.left, 200);
  EXPECT_EQ(combo.top, 64);
  EXPECT_EQ(combo.right - combo.left, 217);
  EXPECT_EQ(combo.bottom - combo.top, 21) << "closed height of the selector";

  EXPECT_EQ(form->Label1.Text(), L"Wybierz docelowy nośnik wymienny: ");
  EXPECT_EQ(form->GroupBox1.Text(), L"Opcje : ");
  EXPECT_EQ(form->BitBtn1.Text(), L"&Kopiuj pliki");
  EXPECT_EQ(form->BitBtnKoniec.Text(), L"Zamknij");
  // The help button's caption is not drawn; it names the button for
  // screen readers (see HelpButtonSpeaksButDrawsOnlyItsGlyph).
  EXPECT_EQ(form->BitBtn2.Text(), L"Pomoc");
  EXPECT_EQ(form->KomunikatNapedDocelowyLabel.Text(), L"Dysk wymienny : ");
  EXPECT_EQ(form->stPENDRIVEKOMUNIKAT, L"Dysk wymienny : ");
  EXPECT_EQ(form->iloscDoPobrania, 0);
  EXPECT_EQ(form->iloscPobranych, 0);
  EXPECT_EQ(form->DriveComboBox.Text(), L"");
  EXPECT_TRUE(form->DriveComboBox.Items().empty());
  EXPECT_TRUE(form->KopiujInstalatorCheckBox1.Checked());
  EXPECT_TRUE(form->PobierzZNetuCheckBox1.Checked());
  EXPECT_EQ(form->Memo1.Text(), L"");
  EXPECT_TRUE(form->MainTimer.Enabled());

  // A drive is present, yet nothing can be copied and no option changed.
  EXPECT_FALSE(form->BitBtn1.Enabled());
  EXPECT_FALSE(form->GroupBox1.Enabled());
  EXPECT_FALSE(form->KopiujInstalatorCheckBox1.Enabled());
  EXPECT_FALSE(form->PobierzZNetuCheckBox1.Enabled());
  EXPECT_TRUE(form->BitBtnKoniec.Enabled());
  EXPECT_TRUE(form->BitBtn2.Enabled());
  EXPECT_TRUE(form->Memo1.Enabled());

  // The focus starts in the selector and Tab skips the options.
  EXPECT_TRUE(form->DriveComboBox.HasFocus());
  PressKey(VK_TAB);
  EXPECT_TRUE(form->BitBtnKoniec.HasFocus());
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcscpy(wanted.lfFaceName, face);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

TEST_F(MainFormTest, EveryControlUsesTheWindowFontMsSansSerifElevenPixelsHigh) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(form->Memo1.hwnd(), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  for (const Control* control :
       std::initializer_list<const Control*>{&form->BitBtn1, &form->Label1, &form->DriveComboBox, &form->GroupBox1}) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control->hwnd(), WM_GETFONT, 0, 0)), font);
  }
  LOGFONTW asked{};
  GetObjectW(font, sizeof asked, &asked);
  EXPECT_EQ(std::wstring(asked.lfFaceName), L"MS Sans Serif");
  EXPECT_EQ(asked.lfHeight, -11);
  EXPECT_EQ(asked.lfCharSet, EASTEUROPE_CHARSET);
  // The test prefix carries the bitmap face (scripts/wine-lib.sh), so a
  // substitute here means the font set-up broke.
  ASSERT_TRUE(FontInstalled(L"MS Sans Serif"));
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  EXPECT_EQ(std::wstring(face), L"MS Sans Serif");
  EXPECT_EQ(metrics.tmHeight, 13);
}

// Polish letters on every Windows: the window asks for the Central European
// character set, so an English or any other system still picks a face that
// has them. ctest runs this in Wine's Polish, C and English locales, at 96
// DPI (the bitmap face) and at 144 (the outline face).
TEST_F(MainFormTest, WindowFontHasAGlyphForEveryPolishLetter) {
  const std::wstring letters =
      L"\u0105\u0107\u0119\u0142\u0144\u00f3\u015b\u017a\u017c"
      L"\u0104\u0106\u0118\u0141\u0143\u00d3\u015a\u0179\u017b";
  for (const int dpi : {96, 144}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    ChangeDpi(dpi);
    // The label, the check boxes and the log share the window's font.
    for (const Control* control :
         {static_cast<const Control*>(&form->Label1), static_cast<const Control*>(&form->KopiujInstalatorCheckBox1),
          static_cast<const Control*>(&form->Memo1)}) {
      HFONT font = reinterpret_cast<HFONT>(SendMessageW(control->hwnd(), WM_GETFONT, 0, 0));
      HDC dc = GetDC(window);
      HGDIOBJ old = SelectObject(dc, font);
      std::vector<WORD> glyphs(letters.size());
      const DWORD converted = GetGlyphIndicesW(dc, letters.c_str(), static_cast<int>(letters.size()), glyphs.data(),
                                               GGI_MARK_NONEXISTING_GLYPHS);
      SelectObject(dc, old);
      ReleaseDC(window, dc);
      ASSERT_EQ(converted, letters.size());
      for (size_t i = 0; i < letters.size(); ++i) {
        EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for U+" << std::hex << static_cast<unsigned>(letters[i]);
      }
    }
  }
}

TEST_F(MainFormTest, UntickingTheInstallerOptionUnticksTheDownloadOptionOnly) {
  Tick();
  auto click = [](const CheckBox& box) { SendMessageW(box.hwnd(), BM_CLICK, 0, 0); };
  CheckBox& installer = form->KopiujInstalatorCheckBox1;
  CheckBox& download = form->PobierzZNetuCheckBox1;

  click(installer);
  EXPECT_FALSE(installer.Checked());
  EXPECT_FALSE(download.Checked());

  click(installer);
  EXPECT_TRUE(installer.Checked());
  EXPECT_FALSE(download.Checked()) << "ticking the installer option again leaves the download option";

  click(installer);
  click(download);
  EXPECT_TRUE(download.Checked()) << "the download option can be ticked on its own";
  EXPECT_FALSE(installer.Checked());

  // A change made by the program runs the same rule.
  installer.SetChecked(true);
  installer.SetChecked(false);
  EXPECT_FALSE(download.Checked());
}

TEST_F(MainFormTest, CloseButtonCloseBoxAndAltF4EndTheTool) {
  SendMessageW(form->BitBtnKoniec.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(ToolEnded());

  Restart();
  // The close box and Alt+F4 both come as the system close command.
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(ToolEnded());

  Restart();
  form->SetCloseButtonEnabled(false);
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(ToolEnded()) << "the close box works while the close button is disabled";
}

TEST_F(MainFormTest, CloseAskedForInsideAHandlerWaitsUntilItReturnsToTheLoop) {
  bool shownDuringHandler = false;
  form->RunHandler([&] {
    // What a copy action does: disable the close button and pump messages.
    form->SetCloseButtonEnabled(false);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    form->ProcessMessages();
    shownDuringHandler = IsWindow(window) && IsWindowVisible(window);
    form->Log().AppendLine(L"still working");
  });
  EXPECT_TRUE(shownDuringHandler);
  EXPECT_TRUE(WindowGone());
  // The loop ends on the request.
  EXPECT_EQ(RunMessageLoop(*form), 0);
}

TEST_F(MainFormTest, ErrorEscapingAHandlerIsShownAndTheWindowGoesOn) {
  struct Case {
    std::function<void()> fault;
    std::wstring shown;
  } cases[] = {
      {[] { throw std::runtime_error("HTTP/1.1 404 Not Found"); }, L"HTTP/1.1 404 Not Found."},
      {[] { throw std::runtime_error("Read timed out."); }, L"Read timed out."},
      {[] {
         throw std::runtime_error(
             "B\xC5\x82\xC4\x85"
             "d zapisu");
       },
       L"Błąd zapisu."},
      {[] { throw 42; }, L"Nieznany błąd."},
  };
  for (const Case& c : cases) {
    MessageBoxAnswerer answer;
    form->RunHandler(c.fault);
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ(answer.text, c.shown);
    EXPECT_TRUE(answer.errorIcon);
    EXPECT_TRUE(IsWindow(window));
  }
  bool ran = false;
  form->RunHandler([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST_F(MainFormTest, TimerTicksAboutASecondAfterStartAndSwitchingItOnAgainKeepsThePeriod) {
  const auto start = std::chrono::steady_clock::now();
  // Half a second in, activation switches the running timer on again.
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500)) {
    Pump();
    Sleep(10);
  }
  form->FormActivate();
  while (!form->GroupBox1.Enabled() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    Pump();
    Sleep(10);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(form->GroupBox1.Enabled()) << "no tick came";
  EXPECT_EQ(ClientSize().cx, 430);
  EXPECT_EQ(ClientSize().cy, 356);
  // A restarted period would bring the tick 1.5 s after start at the earliest.
  EXPECT_LT(elapsed, std::chrono::milliseconds(1450));
  EXPECT_TRUE(form->MainTimer.Enabled());
}

// The text's ink grows with the DPI, however the face is drawn: within 10 %
// of the scale factor, measured on the font the controls use.
TEST_F(MainFormTest, TextHeightGrowsWithTheDpi) {
  auto textHeight = [&] {
    HDC dc = GetDC(form->Label1.hwnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(form->Label1.hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(form->Label1.hwnd(), dc);
    return metrics.tmHeight;
  };
  const int at96 = textHeight();
  ASSERT_GT(at96, 0);
  for (int dpi : {120, 144, 192}) {
    ChangeDpi(dpi);
    const double grown = static_cast<double>(textHeight()) / at96;
    const double scale = dpi / 96.0;
    EXPECT_NEAR(grown, scale, scale * 0.1)
        << "at " << dpi << " DPI the text is " << textHeight() << " px high, at 96 " << at96;
  }
  ChangeDpi(96);
  EXPECT_EQ(textHeight(), at96) << "96 DPI gets its own font back";
}

// The help button has a tooltip and a name for screen readers, and its face
// still shows the glyph alone: drawn with its name and with no text at all,
// it looks the same.
TEST_F(MainFormTest, HelpButtonSpeaksButDrawsOnlyItsGlyph) {
  HWND tip = nullptr;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"tooltips_class32", nullptr)) != nullptr;) {
    if (GetWindow(w, GW_OWNER) == window) tip = w;
  }
  ASSERT_NE(tip, nullptr) << "no tooltip owned by the window";
  ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), form->BitBtn2.hwnd());
  EXPECT_STREQ(text, L"Pomoc");
  EXPECT_EQ(form->BitBtn2.Text(), L"Pomoc") << "the accessible name of a button is its window text";

  auto drawn = [&] {
    const RECT bounds = PlaceOf(form->BitBtn2);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = form->BitBtn2.hwnd();
    item.hDC = dc;
    item.rcItem = {0, 0, width, height};
    form->BitBtn2.Draw(item);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
  };
  const std::vector<COLORREF> named = drawn();
  SetWindowTextW(form->BitBtn2.hwnd(), L"");
  EXPECT_TRUE(drawn() == named) << "the name is drawn on the button";
  SetWindowTextW(form->BitBtn2.hwnd(), L"&Pomoc");
  EXPECT_TRUE(drawn() == named) << "the name is drawn on the button";
}

TEST_F(MainFormTest, GeometryAndFontFollowTheWindowDpi) {
  auto fontHeight = [&] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->Memo1.hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
  };

  ChangeDpi(144);
  EXPECT_EQ(form->Dpi(), 144);
  EXPECT_EQ(fontHeight(), -17);                                                      // 16.5
  ExpectPlace(PlaceOf(form->GroupBox1), 12, 192, 626, 266, "GroupBox1 at 144 DPI");  // 625.5, 265.5
  EXPECT_EQ(ClientSize().cx, 686);
  EXPECT_EQ(ClientSize().cy, 587);

  Tick();
  EXPECT_EQ(PlaceOf(form->GroupBox1).top, 140);  // 139.5
  EXPECT_EQ(PlaceOf(form->Memo1).top, 408);      // 272 * 1.5
  EXPECT_EQ(ClientSize().cx, 645);
  EXPECT_EQ(ClientSize().cy, 534);

  ChangeDpi(96);
  EXPECT_EQ(fontHeight(), -11);
  EXPECT_EQ(PlaceOf(form->GroupBox1).top, 93);
  EXPECT_EQ(PlaceOf(form->BitBtnKoniec).top, 316);
  EXPECT_EQ(ClientSize().cx, 430);
  EXPECT_EQ(ClientSize().cy, 356);
}

}  // namespace
