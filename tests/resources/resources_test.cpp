// The resources as Windows hands them to a program that links them: this
// test program links mpi_resources exactly as the tool does, so what it finds
// in its own module the tool finds in its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "resource.h"

namespace {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
template <class Handle>
using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using Bitmap = Gdi<HBITMAP>;

struct IconDeleter {
  void operator()(HICON h) const { DestroyIcon(h); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct DcDeleter {
  void operator()(HDC h) const { DeleteDC(h); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct ModuleDeleter {
  void operator()(HMODULE h) const { FreeLibrary(h); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// Keeps a bitmap selected into a memory DC and puts the old one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

std::string_view ResourceBytes(LPCWSTR type, int id) {
  HRSRC found = FindResourceW(Self(), MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(Self(), found);
  return {static_cast<const char*>(LockResource(loaded)), SizeofResource(Self(), found)};
}

struct GlyphCase {
  const char* name;
  int id;
  WORD bits;
  COLORREF transparent;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const GlyphCase& c, std::ostream* os) { *os << c.name; }

class GlyphResourceTest : public testing::TestWithParam<GlyphCase> {};

// The side-by-side store names each assembly by the processor it is built
// for, and the manifest's processorArchitecture="*" asks for the process's own.
#ifdef _WIN64
constexpr wchar_t kCommonControlsAssembly[] =
    L"\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
#else
constexpr wchar_t kCommonControlsAssembly[] = L"\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
#endif

TEST_P(GlyphResourceTest, LoadsAsAStripWithTheTransparentColourBottomLeft) {
  const GlyphCase& c = GetParam();
  Bitmap dib(static_cast<HBITMAP>(LoadImageW(Self(), MAKEINTRESOURCEW(c.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ASSERT_TRUE(dib) << "error " << GetLastError();
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(dib.get(), sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 36);
  EXPECT_EQ(section.dsBm.bmHeight, 18);
  EXPECT_EQ(section.dsBm.bmBitsPixel, c.bits);

  MemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  Selected selected(dc.get(), dib.get());
  EXPECT_EQ(GetPixel(dc.get(), 0, 17), c.transparent);
  EXPECT_NE(GetPixel(dc.get(), 9, 9), c.transparent) << "the middle of the enabled picture is empty";
  if (c.bits == 4) {
    RGBQUAD table[256];
    EXPECT_EQ(GetDIBColorTable(dc.get(), 0, 256, table), 16u);
  }
}

TEST_P(GlyphResourceTest, LoadsThroughLoadBitmap) {
  const GlyphCase& c = GetParam();
  Bitmap ddb(LoadBitmapW(Self(), MAKEINTRESOURCEW(c.id)));
  ASSERT_TRUE(ddb) << "error " << GetLastError();
  BITMAP info{};
  ASSERT_EQ(GetObjectW(ddb.get(), sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 36);
  EXPECT_EQ(info.bmHeight, 18);
}

INSTANTIATE_TEST_SUITE_P(Glyphs, GlyphResourceTest,
                         testing::Values(GlyphCase{"copy", IDB_GLYPH_COPY, 24, RGB(128, 128, 0)},
                                         GlyphCase{"close", IDB_GLYPH_CLOSE, 24, RGB(128, 128, 0)},
                                         GlyphCase{"help", IDB_GLYPH_HELP, 4, RGB(191, 191, 0)}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(AppIconResourceTest, GroupHoldsOne32x32ImageIn16Colours) {
  std::string_view group = ResourceBytes(RT_GROUP_ICON, IDI_APPICON);
  ASSERT_EQ(group.size(), 6u + 14u) << "one directory entry";
  auto at = [&](size_t i) { return static_cast<unsigned char>(group[i]); };
  EXPECT_EQ(at(4), 1u) << "image count";
  EXPECT_EQ(at(6), 32u);
  EXPECT_EQ(at(7), 32u);
  EXPECT_EQ(at(8), 16u) << "colour count";
  EXPECT_EQ(at(12), 4u) << "bits per pixel";
}

TEST(AppIconResourceTest, DrawsThroughItsMask) {
  Icon icon(static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON, 32, 32, 0)));
  ASSERT_TRUE(icon) << "error " << GetLastError();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  Bitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  ASSERT_TRUE(colour);
  GetObjectW(colour.get(), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);

  // Draw onto a magenta background: the corner and the disc's hole show it,
  // the drive does not.
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, 32, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  Bitmap canvas(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(canvas && dc);
  Selected selected(dc.get(), canvas.get());
  const COLORREF magenta = RGB(255, 0, 255);
  Gdi<HBRUSH> brush(CreateSolidBrush(magenta));
  RECT all{0, 0, 32, 32};
  FillRect(dc.get(), &all, brush.get());
  ASSERT_TRUE(DrawIconEx(dc.get(), 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(dc.get(), 0, 0), magenta);
  EXPECT_EQ(GetPixel(dc.get(), 15, 10), magenta) << "the disc's hole";
  EXPECT_NE(GetPixel(dc.get(), 15, 26), magenta) << "the drive";
  EXPECT_NE(GetPixel(dc.get(), 8, 8), magenta) << "the disc";
}

TEST(ManifestResourceTest, IsEmbeddedAsTheProcessManifest) {
  // 1 is CREATEPROCESS_MANIFEST_RESOURCE_ID, the manifest the loader reads.
  std::string_view manifest = ResourceBytes(RT_MANIFEST, 1);
  ASSERT_FALSE(manifest.empty());
  EXPECT_EQ(manifest.substr(0, 5), "<?xml");
  for (const char* needle :
       {"PerMonitorV2", "true/pm", "asInvoker", "uiAccess=\"false\"", "Microsoft.Windows.Common-Controls"}) {
    EXPECT_NE(manifest.find(needle), std::string_view::npos) << needle;
  }
}

// The loader parsed the manifest: the settings sit in the namespaces Windows
// reads them from, and the common controls come in version 6.
TEST(ManifestResourceTest, ActivationContextCarriesItsSettings) {
  struct Setting {
    const wchar_t* space;
    const wchar_t* name;
    const wchar_t* value;
  };
  for (const Setting& s :
       {Setting{L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
        Setting{L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"}}) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    EXPECT_TRUE(QueryActCtxSettingsW(0, nullptr, s.space, s.name, value, std::size(value), &written))
        << "error " << GetLastError() << " for " << testing::PrintToString(std::wstring(s.name));
    EXPECT_EQ(std::wstring(value), s.value);
  }

  // Version 6 lives in the side-by-side store, the system folder holds 5.
  // (Wine's DllGetVersion answers 5 for both, so ask where it came from.)
  Module comctl(LoadLibraryW(L"comctl32.dll"));
  ASSERT_TRUE(comctl);
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(comctl.get(), path, MAX_PATH), 0u);
  std::wstring lower(path);
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(towlower(ch));
  EXPECT_NE(lower.find(kCommonControlsAssembly), std::wstring::npos) << testing::PrintToString(std::wstring(path));
}

TEST(VersionResourceTest, DescribesTheToolInPolish) {
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  ASSERT_GT(size, 0u) << "no version resource";
  std::unique_ptr<char[]> block(new char[size]);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.get()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.get(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  auto text = [&](const wchar_t* name) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\041504B0\\") + name;
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (!VerQueryValueW(block.get(), key.c_str(), reinterpret_cast<void**>(&value), &chars)) return std::wstring();
    return std::wstring(value);
  };
  EXPECT_EQ(text(L"FileDescription"), L"Utw\u00f3rz dysk instalacyjny Drovalin");
  EXPECT_EQ(text(L"OriginalFilename"), L"MakePendriveInstalable.exe");
  EXPECT_EQ(text(L"FileVersion"), L"1.0.0.0");
  EXPECT_FALSE(text(L"ProductName").empty());
}

}  // namespace
