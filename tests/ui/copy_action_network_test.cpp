// The copy action when the download raises: run in a private network where
// the product host is 127.0.0.1 and nothing listens on its ports.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "copy_action_form.h"
#include "form_fixture.h"
#include "wine_drives.h"

using wine_drives::Drive;

namespace {

// A drive that passes the label check, and the window online with both
// options ticked, so the copy button goes on to the download.
class RefusedDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("MPI_PRIVATE_NETWORK") == nullptr) {
      FAIL() << "run through scripts/netns-run: the download must not reach the real network";
    }
    form.probe = std::make_shared<ScriptedProbe>(true, kInternetConnectionLan, true);
    form.Show();
  }

  Drive e = Drive::RemovableWithLabel(L'E', "drovalin-old");
  CopyActionForm form;
};

TEST_F(RefusedDownloadTest, TimerAndCloseButtonComeBackWhenTheDownloadRaises) {
  form.DriveComboBox.SetText(L"E:\\    [drovalin-old]");
  form.BitBtn1.SetEnabled(true);

  std::string error;
  try {
    form.BitBtn1Click();
  } catch (const std::exception& raised) {
    error = raised.what();
  }
  EXPECT_EQ(error, "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(wine_drives::ReadLabelFile(e.folder()), "DROVALIN");
  EXPECT_TRUE(form.MainTimer.Enabled()) << "without the poll cycle the copy button never returns";
  EXPECT_TRUE(form.BitBtnKoniec.Enabled());
  EXPECT_FALSE(form.BitBtn1.Enabled());
  form.MainTimerTimer();
  EXPECT_TRUE(form.BitBtn1.Enabled());
}

TEST_F(RefusedDownloadTest, DefaultErrorHandlerShowsTheRefusalAndTheWindowGoesOn) {
  form.DriveComboBox.SetText(L"E");
  MessageBoxAnswerer answerer;
  form.RunHandler([&] { form.BitBtn1Click(); });
  ASSERT_TRUE(answerer.Wait());
  EXPECT_EQ(answerer.text, L"Socket Error # 10061\r\nConnection refused.");
  EXPECT_TRUE(answerer.errorIcon);
  EXPECT_TRUE(form.BitBtnKoniec.Enabled());
  EXPECT_TRUE(form.MainTimer.Enabled());
}

}  // namespace
