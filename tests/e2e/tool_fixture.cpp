#include "tool_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace ui_driver;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path HostPath(const std::string& unixPath) { return wine_drives::DosPath(unixPath); }

}  // namespace

std::wstring Entry(wchar_t letter, const std::wstring& label) {
  return std::wstring(1, letter) + L":\\    [" + label + L"]";
}

ToolWindow ToolWindow::Find(HWND main) {
  ToolWindow w;
  w.main = main;
  w.status = FindByText(main, L"Static", kStatusPrefix, true);
  w.selectorCaption = FindByText(main, L"Static", L"Wybierz docelowy nośnik wymienny: ");
  w.selector = FindByClass(main, L"ComboBox");
  if (w.selector != nullptr) w.selectorField = FindByClass(w.selector, L"Edit");
  w.options = FindByText(main, L"Button", L"Opcje : ");
  w.installerOption = FindByText(main, L"Button", L"Kopiuj na nośnik docelowy instalator DVL.EXE");
  w.downloadOption = FindByText(main, L"Button", L"Pobierz potrzebne pliki z internetu");
  w.copyButton = FindByText(main, L"Button", L"&Kopiuj pliki");
  w.closeButton = FindByText(main, L"Button", L"Zamknij");
  // It shows a glyph alone; its text is its name for screen readers.
  w.helpButton = FindByText(main, L"Button", L"Pomoc");
  // The multi-line edit that belongs to the window itself, not to the
  // selector.
  for (HWND edit : Descendants(main)) {
    if (ClassOf(edit) == L"Edit" && GetParent(edit) == main) w.log = edit;
  }
  return w;
}

bool ToolWindow::Complete() const {
  for (HWND control : {status, helpButton, selectorCaption, selector, selectorField, options, installerOption,
                       downloadOption, log, copyButton, closeButton}) {
    if (control == nullptr) return false;
  }
  return true;
}

std::vector<std::wstring> ToolWindow::LogLines() const {
  std::vector<std::wstring> lines;
  const std::wstring text = Text(log);
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L"\r\n", start);
    lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  return lines;
}

std::vector<unsigned char> ReadBytes(const std::string& unixPath) {
  std::ifstream in(HostPath(unixPath), std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& unixPath) {
  std::error_code error;
  return std::filesystem::is_regular_file(HostPath(unixPath), error);
}

std::vector<unsigned char> SampleBytes(size_t size, unsigned seed) {
  std::vector<unsigned char> bytes(size);
  unsigned state = seed * 2654435761u + 1;
  for (unsigned char& b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<unsigned char>(state >> 16);
  }
  return bytes;
}

void WriteBytes(const std::string& unixPath, const std::vector<unsigned char>& bytes) {
  std::ofstream out(HostPath(unixPath), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << unixPath;
}

std::string ShotsFolder() { return Env("MPI_E2E_SHOTS"); }

int RunDpi() {
  const std::string dpi = Env("MPI_E2E_DPI");
  return dpi.empty() ? 96 : std::stoi(dpi);
}

std::string SiteFolder() {
  std::string folder = Env("MPI_E2E_SITE");
  if (folder.empty()) ADD_FAILURE() << "MPI_E2E_SITE is not set: run through tests/e2e/e2e_site.py";
  return folder;
}

void SetSiteRoute(const std::string& route) {
  std::ofstream out(HostPath(SiteFolder() + "/route"), std::ios::trunc);
  out << route << "\n";
  if (!out) ADD_FAILURE() << "cannot choose the site's route";
}

std::string DriveFolder(wchar_t letter, const std::string& label) {
  std::string folder = wine_drives::NewFolder(std::string("drive-") + static_cast<char>(letter));
  wine_drives::WriteLabelFile(folder, label);
  return folder;
}

void ToolTest::StartTool() {
  const std::string exe = Env("MPI_E2E_TOOL");
  ASSERT_FALSE(exe.empty()) << "MPI_E2E_TOOL names no program";
  // MPI_E2E_DPI runs the tool at another DPI, as Windows' display scaling
  // does: Wine reads it from the prefix's registry when the program starts.
  if (const std::string dpi = Env("MPI_E2E_DPI"); !dpi.empty()) {
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &desktop, nullptr),
              ERROR_SUCCESS);
    const DWORD pixels = static_cast<DWORD>(RunDpi());
    const LSTATUS set =
        RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pixels), sizeof pixels);
    RegCloseKey(desktop);
    ASSERT_EQ(set, ERROR_SUCCESS);
  }
  tool = std::make_unique<ToolProcess>(wine_drives::DosPath(exe));
  // A new Wine process on a processor emulated in software (scripts/wine-vm)
  // that shares it with a second test takes well over 20 s to show its
  // window; one that never shows it still fails here.
  HWND main = tool->WaitForWindow(kCaption, 60000);
  ASSERT_NE(main, nullptr) << "no window captioned with the tool's caption";
  w = ToolWindow::Find(main);
  ASSERT_TRUE(w.Complete()) << "a control of the window was not found";
}

testing::AssertionResult ToolTest::StatusBecomes(const std::wstring& list, DWORD timeoutMs) {
  return Eventually<std::wstring>([&] { return Text(w.status); }, kStatusPrefix + list, timeoutMs);
}

MessageBoxView ToolTest::WaitForMessageBox(DWORD timeoutMs) {
  HWND box = tool->WaitForOwnedWindow(w.main, L"#32770", kApplicationTitle, timeoutMs);
  return box == nullptr ? MessageBoxView{} : ReadMessageBox(box);
}

void ToolTest::ChooseCopyFromFile() {
  ASSERT_TRUE(Click(w.downloadOption));
  ASSERT_TRUE(WaitUntil([&] { return !Checked(w.downloadOption); }, 3000));
  ASSERT_TRUE(Checked(w.installerOption));
}

std::vector<std::wstring> ToolTest::LogWhenLastLineIs(const std::wstring& last, DWORD timeoutMs) {
  std::vector<std::wstring> lines;
  const bool arrived = WaitUntil(
      [&] {
        lines = w.LogLines();
        return !lines.empty() && lines.back() == last;
      },
      timeoutMs);
  if (!arrived)
    ADD_FAILURE() << "the log did not end with the expected line; it reads:\n" << testing::PrintToString(lines);
  return lines;
}

void ToolTest::SaveScreenshot(const std::string& name) {
  const std::string folder = ShotsFolder();
  if (folder.empty()) return;
  EXPECT_TRUE(Screenshot(w.main, folder + "/" + name));
}
