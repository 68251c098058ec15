// Files by handle, renaming and deleting, with the results and error codes callers test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/Win32File.h"
#include "platform/win32/Win32Kernel.h"
#include "platform/win32/Win32Time.h"

namespace fs = std::filesystem;

namespace {

class FileIoTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "file-io-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const char* name) const { return (folder_ / name).string(); }

    void Put(const char* name, const std::string& text) const
    {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    std::string Get(const char* name) const
    {
        std::ifstream in(folder_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static HANDLE Open(const std::string& path, DWORD access, DWORD disposition)
    {
        return CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    fs::path folder_;
};

TEST_F(FileIoTest, WritesReadsAndSizes)
{
    HANDLE out = Open(Path("a.bin"), GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(out, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_TRUE(FlushFileBuffers(out));
    EXPECT_EQ(GetFileSize(out, nullptr), 5u);
    EXPECT_TRUE(CloseHandle(out));

    HANDLE in = Open(Path("a.bin"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    char buffer[16] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(in, buffer, sizeof(buffer), &read, nullptr));
    EXPECT_EQ(read, 5u);  // fewer than asked at the end of the file is no error
    EXPECT_EQ(std::string(buffer, read), "hello");
    EXPECT_TRUE(ReadFile(in, buffer, sizeof(buffer), &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(CloseHandle(in));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FileIoTest, OpeningFailsWithItsReason)
{
    EXPECT_EQ(Open(Path("missing"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    fs::create_directory(folder_ / "dir");
    EXPECT_EQ(Open(Path("dir"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open(Path("dir"), GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetFileSize(nullptr, nullptr), INVALID_FILE_SIZE);
}

TEST_F(FileIoTest, CreateAlwaysTruncatesAndSaysTheFileExisted)
{
    Put("b.bin", "old content");
    HANDLE h = Open(Path("b.bin"), GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFileSize(h, nullptr), 0u);
    CloseHandle(h);
}

TEST_F(FileIoTest, UnsharedFileCannotBeOpenedAgainNorTruncated)
{
    Put("c.bin", "keep me");
    HANDLE first = Open(Path("c.bin"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(Path("c.bin"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Open(Path("c.bin"), GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Get("c.bin"), "keep me");
    CloseHandle(first);

    HANDLE again = Open(Path("c.bin"), GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST_F(FileIoTest, ProgramPathsWithBackslashesWork)
{
    Put("d.bin", "xyz");
    std::string path = folder_.string() + "\\d.bin";
    HANDLE h = Open(path, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(h, nullptr), 3u);
    CloseHandle(h);
}

TEST_F(FileIoTest, MoveReplacesOnlyWhenAskedAndDeleteRemoves)
{
    Put("new.bin", "new");
    Put("old.bin", "old");
    EXPECT_FALSE(MoveFileExA(Path("new.bin").c_str(), Path("old.bin").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Get("old.bin"), "old");

    EXPECT_TRUE(MoveFileExA(Path("new.bin").c_str(), Path("old.bin").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(Get("old.bin"), "new");
    EXPECT_FALSE(fs::exists(folder_ / "new.bin"));

    EXPECT_TRUE(DeleteFileA(Path("old.bin").c_str()));
    EXPECT_FALSE(fs::exists(folder_ / "old.bin"));
    EXPECT_FALSE(DeleteFileA(Path("old.bin").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(LocalTime, FieldsAreInRange)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_GE(now.wYear, 2000);
    EXPECT_GE(now.wMonth, 1);
    EXPECT_LE(now.wMonth, 12);
    EXPECT_LE(now.wHour, 23);
    EXPECT_LE(now.wMilliseconds, 999);
}

}  // namespace
