// The temporary file that replaces the installer, read back from the medium
// before it may take the target's place.
#include "system/replacement_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/sha256.h"
#include "wine_drives.h"

namespace {

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 1000) % 253);
  return bytes;
}

Sha256Digest DigestOf(const std::string& bytes) {
  Sha256 hash;
  hash.Update(bytes.data(), bytes.size());
  return hash.Finish();
}

std::string Content(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<absent>";
  std::string content(1 << 20, '\0');
  std::string all;
  DWORD got = 0;
  while (ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr) && got != 0) {
    all.append(content.data(), got);
  }
  return all;
}

class ReplacementFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = wine_drives::DosPath(wine_drives::NewFolder("replacement"));
    target = folder + L"\\dvl.exe";
    UniqueHandle old(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(old.get(), "old installer", 13, &written, nullptr));
  }

  // Writes `bytes` in pieces, as the copy and the download do.
  static void WriteInPieces(ReplacementFile& file, const std::string& bytes, std::size_t piece) {
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      const auto size = static_cast<DWORD>(std::min(piece, bytes.size() - at));
      DWORD written = 0;
      ASSERT_TRUE(file.Write(bytes.data() + at, size, &written));
      ASSERT_EQ(written, size);
    }
  }

  std::wstring TemporaryPath() const {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wine_drives::ReplacementFilePattern(folder).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return L"";
    FindClose(search);
    return folder + L"\\" + found.cFileName;
  }

  std::wstring folder;
  std::wstring target;
};

TEST_F(ReplacementFileTest, BytesThatComeBackAsWrittenReplaceTheTarget) {
  const std::string bytes = Pattern(2 * 1024 * 1024 + 1234);
  ReplacementFile file(target);
  WriteInPieces(file, bytes, 70000);
  EXPECT_EQ(file.writtenBytes(), static_cast<std::int64_t>(bytes.size()));
  ASSERT_EQ(file.Flush(), 0u);

  std::vector<std::int64_t> remaining;
  const ReadBackResult result = file.ReadBack([&](std::int64_t left) { remaining.push_back(left); });

  EXPECT_EQ(result.error, 0u);
  EXPECT_TRUE(result.same);
  EXPECT_EQ(result.written, DigestOf(bytes));
  // A mebibyte a read: two whole ones and the rest.
  EXPECT_EQ(remaining, (std::vector<std::int64_t>{1024 * 1024 + 1234, 1234, 0}));
  ASSERT_EQ(file.Commit(), 0u);
  EXPECT_EQ(Content(target), bytes);
  EXPECT_EQ(wine_drives::ReplacementFilesIn(folder), 0);
}

// What is compared is the hash of the bytes handed to Write and the hash of
// the bytes the medium gives back: change the file on the medium between
// the two, and the check tells, with the written digest still that of the
// bytes written.
TEST_F(ReplacementFileTest, OtherBytesOnTheMediumKeepTheTargetAndLeaveNoTemporaryFile) {
  struct Case {
    const char* name;
    LONGLONG at;           // where the medium's copy is changed
    std::string replaced;  // by these bytes; "" cuts the file there
  };
  const Case cases[] = {
      {"one byte in the middle", 500000, "\x01"},
      {"the last byte", 1099999, "z"},
      {"cut short", 1000000, ""},
      {"grown by a byte", 1100000, "+"},
  };
  const std::string bytes = Pattern(1100000);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      ReplacementFile file(target);
      WriteInPieces(file, bytes, 1 << 20);
      ASSERT_EQ(file.Flush(), 0u);
      {
        UniqueHandle onMedium(
            CreateFileW(TemporaryPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(onMedium.valid()) << GetLastError();
        LARGE_INTEGER at;
        at.QuadPart = c.at;
        ASSERT_TRUE(SetFilePointerEx(onMedium.get(), at, nullptr, FILE_BEGIN));
        DWORD written = 0;
        if (c.replaced.empty()) {
          ASSERT_TRUE(SetEndOfFile(onMedium.get()));
        } else {
          ASSERT_TRUE(
              WriteFile(onMedium.get(), c.replaced.data(), static_cast<DWORD>(c.replaced.size()), &written, nullptr));
        }
      }

      const ReadBackResult result = file.ReadBack([](std::int64_t) {});

      EXPECT_EQ(result.error, 0u);
      EXPECT_FALSE(result.same);
      EXPECT_EQ(result.written, DigestOf(bytes));
      EXPECT_EQ(file.Commit(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    }
    EXPECT_EQ(Content(target), "old installer");
    EXPECT_EQ(wine_drives::ReplacementFilesIn(folder), 0);
  }
}

TEST_F(ReplacementFileTest, NothingReplacesTheTargetBeforeItIsReadBack) {
  {
    ReplacementFile file(target);
    WriteInPieces(file, "new installer", 4);
    EXPECT_EQ(file.Commit(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    ASSERT_EQ(file.Flush(), 0u);
    EXPECT_EQ(file.Commit(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
  }
  EXPECT_EQ(Content(target), "old installer");
  EXPECT_EQ(wine_drives::ReplacementFilesIn(folder), 0);
}

// A close during the check stops it from inside the progress call; the
// temporary file goes with the object.
TEST_F(ReplacementFileTest, StoppedReadBackLeavesTheTargetAsItWas) {
  struct Stop {};
  {
    ReplacementFile file(target);
    WriteInPieces(file, Pattern(3 * 1024 * 1024), 1 << 20);
    ASSERT_EQ(file.Flush(), 0u);
    int calls = 0;
    EXPECT_THROW(file.ReadBack([&](std::int64_t) {
      if (++calls == 2) throw Stop{};
    }),
                 Stop);
    EXPECT_EQ(calls, 2);
  }
  EXPECT_EQ(Content(target), "old installer");
  EXPECT_EQ(wine_drives::ReplacementFilesIn(folder), 0);
}

}  // namespace
