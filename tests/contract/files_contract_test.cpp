// Files and folders in the scratch folder: letter case and spellings, folders that files need, unique
// temporary files, the dispositions of an open, and the standard folders.
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using platform::Bytes;
using platform::Disposition;
using platform::OpenFileRequest;

Bytes B(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

bool WriteAll(platform::File& file, const std::string& s) {
    std::size_t written = 0;
    return file.Write(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), written) && written == s.size();
}

class FilesContract : public ContractTest {
protected:
    platform::FileSystem& fs() { return platform::files(); }
    std::wstring At(const std::wstring& relative) const { return under->Scratch() + relative; }
};

TEST_F(FilesContract, FilesAreFoundUnderEverySpelling) {
    ASSERT_TRUE(fs().ForceDirectories(At(L"Data\\Sub")));
    ASSERT_TRUE(fs().WriteWholeFile(At(L"Data\\Sub\\MyFile.TXT"), B("one")));
    for (const std::wstring& spelling : {At(L"data\\sub\\myfile.txt"), L"\\\\?\\" + At(L"DATA\\SUB\\MYFILE.TXT"),
                                         At(L"Data/Sub/../Sub/./MyFile.TXT")}) {
        SCOPED_TRACE(testing::PrintToString(spelling));
        EXPECT_TRUE(fs().FileExists(spelling));
        EXPECT_EQ(fs().ReadWholeFile(spelling), B("one"));
    }
    ASSERT_TRUE(fs().WriteWholeFile(At(L"data\\sub\\myfile.txt"), B("two")));
    EXPECT_EQ(fs().ReadWholeFile(At(L"Data\\Sub\\MyFile.TXT")), B("two"));
    EXPECT_TRUE(fs().DeleteFile(At(L"DATA\\sub\\MYFILE.txt")));
    EXPECT_FALSE(fs().FileExists(At(L"Data\\Sub\\MyFile.TXT")));
    EXPECT_FALSE(fs().DeleteFile(At(L"Data\\Sub\\MyFile.TXT")));
    EXPECT_EQ(fs().ReadWholeFile(At(L"Data\\Sub\\MyFile.TXT")), std::nullopt);
}

TEST_F(FilesContract, FilesNeedTheirFolder) {
    EXPECT_FALSE(fs().WriteWholeFile(At(L"NoSuch\\a.txt"), B("x")));
    EXPECT_FALSE(fs().DirectoryExists(At(L"NoSuch")));

    ASSERT_TRUE(fs().ForceDirectories(At(L"NoSuch\\Deeper\\Deepest\\")));
    EXPECT_TRUE(fs().DirectoryExists(At(L"nosuch")));
    EXPECT_TRUE(fs().DirectoryExists(At(L"NoSuch\\Deeper\\Deepest")));
    EXPECT_TRUE(fs().ForceDirectories(At(L"NoSuch\\Deeper")));  // already there
    EXPECT_TRUE(fs().WriteWholeFile(At(L"NoSuch\\a.txt"), B("x")));

    // A file is no folder, and a folder is no file.
    EXPECT_FALSE(fs().DirectoryExists(At(L"NoSuch\\a.txt")));
    EXPECT_FALSE(fs().ForceDirectories(At(L"NoSuch\\a.txt\\below")));
    EXPECT_FALSE(fs().WriteWholeFile(At(L"NoSuch\\a.txt\\below.txt"), B("x")));
    EXPECT_FALSE(fs().FileExists(At(L"NoSuch")));
    EXPECT_FALSE(fs().WriteWholeFile(At(L"NoSuch"), B("x")));
    EXPECT_EQ(fs().ReadWholeFile(At(L"NoSuch")), std::nullopt);
    EXPECT_TRUE(fs().DirectoryExists(L"C:\\"));
}

TEST_F(FilesContract, UniqueTempFilesLikeThePlatform) {
    const std::wstring folder = At(L"Work");
    ASSERT_TRUE(fs().ForceDirectories(folder));
    const std::wstring a = fs().CreateUniqueTempFile(folder, L"Nozzle");
    const std::wstring b = fs().CreateUniqueTempFile(folder + L"\\", L"Nozzle");
    for (const std::wstring& name : {a, b}) {
        SCOPED_TRACE(testing::PrintToString(name));
        // Three characters of the prefix, four hex digits, ".tmp"; created empty. (Windows and the sim write the
        // digits in upper case, Wine in lower case.)
        ASSERT_GT(name.size(), folder.size() + 1 + 3 + 4);
        EXPECT_EQ(name.substr(0, folder.size() + 4), folder + L"\\Noz");
        EXPECT_EQ(name.substr(name.size() - 4), L".tmp");
        const std::wstring digits = name.substr(folder.size() + 4, name.size() - 4 - (folder.size() + 4));
        if (digits.size() != 4 && IsKnownDeviation(*under, "temp-file digits unpadded")) {
            EXPECT_LE(digits.size(), 4u);
        } else {
            EXPECT_EQ(digits.size(), 4u);
        }
        for (wchar_t c : digits) {
            EXPECT_GE(platform::HexDigitValue(c), 0);
        }
        EXPECT_EQ(fs().ReadWholeFile(name), Bytes());
    }
    EXPECT_NE(a, b);
    EXPECT_EQ(fs().CreateUniqueTempFile(At(L"Missing"), L"tmp"), L"");
}

TEST_F(FilesContract, DispositionsOnFiles) {
    OpenFileRequest request;
    request.path = At(L"job.prn");

    request.disposition = Disposition::OpenExisting;
    EXPECT_EQ(fs().Open(request), nullptr);
    EXPECT_FALSE(fs().FileExists(request.path));

    request.disposition = Disposition::CreateAlways;
    auto file = fs().Open(request);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(WriteAll(*file, "hello "));
    EXPECT_TRUE(WriteAll(*file, "world"));
    file.reset();
    EXPECT_EQ(fs().ReadWholeFile(request.path), B("hello world"));

    // OpenAlways and OpenExisting keep the content and write from the start.
    request.disposition = Disposition::OpenAlways;
    file = fs().Open(request);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(WriteAll(*file, "HE"));
    file.reset();
    EXPECT_EQ(fs().ReadWholeFile(request.path), B("HEllo world"));

    request.disposition = Disposition::CreateAlways;
    file = fs().Open(request);
    ASSERT_NE(file, nullptr);
    file.reset();
    EXPECT_EQ(fs().ReadWholeFile(request.path), Bytes());

    // Without write access nothing is written.
    request.disposition = Disposition::OpenExisting;
    request.write = false;
    file = fs().Open(request);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(WriteAll(*file, "x"));

    request.write = true;
    request.path = At(L"Missing\\job.prn");
    request.disposition = Disposition::CreateAlways;
    EXPECT_EQ(fs().Open(request), nullptr);
    request.path = under->Scratch();
    EXPECT_EQ(fs().Open(request), nullptr);
}

TEST_F(FilesContract, StandardFolders) {
    const std::wstring temp = fs().TempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
    EXPECT_TRUE(fs().DirectoryExists(temp));
    EXPECT_EQ(fs().LongPathName(temp), temp);

    const std::wstring common = fs().CommonAppDataFolder();
    ASSERT_FALSE(common.empty());
    EXPECT_NE(common.back(), L'\\');
    EXPECT_TRUE(fs().DirectoryExists(common));

    const std::wstring program = fs().ProgramPath();
    ASSERT_GT(program.size(), 4u);
    EXPECT_EQ(program.substr(program.size() - 4), L".exe");
    EXPECT_TRUE(fs().DirectoryExists(program.substr(0, program.find_last_of(L'\\'))));

    EXPECT_EQ(fs().LongPathName(At(L"missing\\x.txt")), At(L"missing\\x.txt"));
}

}  // namespace
}  // namespace contract
