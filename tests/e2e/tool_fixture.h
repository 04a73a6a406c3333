// One fresh run of MakePendriveInstalable.exe per test, on simulated drives,
// seen only through its windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "ui_driver.h"
#include "wine_drives.h"

inline constexpr wchar_t kCaption[] = L"Utwórz dysk instalacyjny Drovalin (na nośniku wymiennym)";
inline constexpr wchar_t kApplicationTitle[] = L"Utwórz dysk instalacyjny Drovalin";
inline constexpr wchar_t kStatusPrefix[] = L"Dysk wymienny : ";

// The selector's entry of a drive: root, four blanks, the label in brackets.
std::wstring Entry(wchar_t letter, const std::wstring& label);

// The tool's controls, found as a user finds them: by kind, caption and place.
struct ToolWindow {
  HWND main = nullptr;
  HWND status = nullptr;
  HWND helpButton = nullptr;
  HWND selectorCaption = nullptr;
  HWND selector = nullptr;
  HWND selectorField = nullptr;
  HWND options = nullptr;
  HWND installerOption = nullptr;
  HWND downloadOption = nullptr;
  HWND log = nullptr;
  HWND copyButton = nullptr;
  HWND closeButton = nullptr;

  static ToolWindow Find(HWND main);
  // Every control was found.
  bool Complete() const;
  std::vector<std::wstring> LogLines() const;
};

std::vector<unsigned char> ReadBytes(const std::string& unixPath);
bool FileExists(const std::string& unixPath);
// Deterministic bytes of the given size, different for each seed.
std::vector<unsigned char> SampleBytes(size_t size, unsigned seed);
void WriteBytes(const std::string& unixPath, const std::vector<unsigned char>& bytes);

// The DPI the tool runs at: MPI_E2E_DPI, or 96.
int RunDpi();
// The folder that screenshots go to ("" when none are wanted).
std::string ShotsFolder();
// The folder of the test site (tests/e2e/e2e_site.py); fails when not served.
std::string SiteFolder();
// Chooses what the site answers for /dvl.exe: file, missing, redirect, refuse.
void SetSiteRoute(const std::string& route);

class ToolTest : public testing::Test {
 protected:
  // Starts the tool and finds its window and controls.
  void StartTool();
  // Waits for the poll tick that shows `status` after the prefix.
  testing::AssertionResult StatusBecomes(const std::wstring& list, DWORD timeoutMs = 5000);
  // A message box of the tool (owned by its window, captioned with the
  // application title); the view is empty after the time-out.
  ui_driver::MessageBoxView WaitForMessageBox(DWORD timeoutMs = 10000);
  // Unticks the download option, so that the copy action copies from a file.
  void ChooseCopyFromFile();
  // The log's lines once its last line is `last`.
  std::vector<std::wstring> LogWhenLastLineIs(const std::wstring& last, DWORD timeoutMs = 20000);
  // Saves a screenshot under the shots folder, if screenshots are wanted.
  void SaveScreenshot(const std::string& name);

  // Drives go before the tool, so they are pulled after it has ended.
  std::vector<wine_drives::Drive> drives;
  std::unique_ptr<ui_driver::ToolProcess> tool;
  ToolWindow w;
};

// A drive with its own folder, for tests that plug it in later.
std::string DriveFolder(wchar_t letter, const std::string& label);
