#include "platform/sim/files_sim.h"
#include "platform/sim/windows_path_sim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform::sim {
namespace {

Bytes B(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

bool WriteAll(File& file, const std::string& s) {
    std::size_t written = 0;
    bool ok = file.Write(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), written);
    return ok && written == s.size();
}

TEST(SimFileSystemPaths, SpellingsOfOnePlaceMapToOneKey) {
    struct Case {
        const char* name;
        std::wstring a, b;
        bool same;
    } cases[] = {
        {"letter case", L"C:\\Temp\\a.txt", L"c:\\TEMP\\A.TXT", true},
        {"forward slashes", L"C:\\Temp\\a.txt", L"C:/Temp/a.txt", true},
        {"long-path prefix", L"C:\\Temp\\a.txt", L"\\\\?\\C:\\Temp\\a.txt", true},
        {"device-namespace prefix", L"C:\\Temp\\a.txt", L"\\\\.\\C:\\Temp\\a.txt", true},
        {"dot and dot-dot", L"C:\\Temp\\a.txt", L"C:\\Temp\\.\\x\\..\\a.txt", true},
        {"dot-dot above the root", L"C:\\a.txt", L"C:\\..\\..\\a.txt", true},
        {"doubled separators", L"C:\\Temp\\a.txt", L"C:\\\\Temp\\\\a.txt", true},
        {"trailing separator", L"C:\\Temp", L"C:\\Temp\\", true},
        {"non-ASCII letters", L"C:\\Caf\u00E9\\\u0416", L"C:\\CAF\u00C9\\\u0436", true},
        {"UNC case", L"\\\\server\\share\\a", L"\\\\SERVER\\Share\\A", true},
        {"UNC behind the long-path prefix", L"\\\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a", true},
        {"device spellings", L"\\\\?\\LPT1", L"\\\\.\\lpt1", true},
        {"bare device name", L"\\\\?\\LPT1", L"LPT1", true},
        {"device name with colon", L"\\\\?\\COM2", L"com2:", true},
        {"UNC is not a drive path", L"\\\\server\\share\\a", L"C:\\server\\share\\a", false},
        {"other drive", L"C:\\a", L"D:\\a", false},
        {"other name", L"C:\\Temp\\a.txt", L"C:\\Temp\\a.txt2", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring a = CanonicalPath(c.a);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(a == CanonicalPath(c.b), c.same);
    }
    for (const wchar_t* unplaceable : {L"", L"relative\\a.txt", L"\\rooted-without-drive", L"\\\\server", L"\\\\?\\"}) {
        SCOPED_TRACE(testing::Message() << "unplaceable " << testing::PrintToString(std::wstring(unplaceable)));
        EXPECT_EQ(CanonicalPath(unplaceable), L"");
    }
}

TEST(SimFileSystemPaths, FilesAreFoundUnderEverySpelling) {
    SimFileSystem fs;
    ASSERT_TRUE(fs.ForceDirectories(L"C:\\Data\\Sub"));
    ASSERT_TRUE(fs.WriteWholeFile(L"C:\\Data\\Sub\\MyFile.TXT", B("one")));
    for (const wchar_t* spelling :
         {L"c:\\data\\sub\\myfile.txt", L"\\\\?\\C:\\DATA\\SUB\\MYFILE.TXT", L"C:/Data/Sub/../Sub/./MyFile.TXT"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(spelling)));
        EXPECT_TRUE(fs.FileExists(spelling));
        EXPECT_EQ(fs.ReadWholeFile(spelling), B("one"));
    }
    // A second write under another spelling replaces the content but keeps the first spelling.
    ASSERT_TRUE(fs.WriteWholeFile(L"c:\\data\\sub\\myfile.txt", B("two")));
    EXPECT_EQ(fs.ListFiles(), std::vector<std::wstring>{L"C:\\Data\\Sub\\MyFile.TXT"});
    EXPECT_EQ(fs.ReadWholeFile(L"C:\\Data\\Sub\\MyFile.TXT"), B("two"));
    EXPECT_TRUE(fs.DeleteFile(L"C:\\DATA\\sub\\MYFILE.txt"));
    EXPECT_FALSE(fs.FileExists(L"C:\\Data\\Sub\\MyFile.TXT"));
    EXPECT_FALSE(fs.DeleteFile(L"C:\\Data\\Sub\\MyFile.TXT"));
    EXPECT_EQ(fs.ReadWholeFile(L"C:\\Data\\Sub\\MyFile.TXT"), std::nullopt);
}

TEST(SimFileSystemFolders, FilesNeedTheirFolder) {
    SimFileSystem fs;
    EXPECT_FALSE(fs.WriteWholeFile(L"C:\\NoSuch\\a.txt", B("x")));
    EXPECT_FALSE(fs.DirectoryExists(L"C:\\NoSuch"));

    ASSERT_TRUE(fs.ForceDirectories(L"C:\\NoSuch\\Deeper\\Deepest\\"));
    EXPECT_TRUE(fs.DirectoryExists(L"c:\\nosuch"));
    EXPECT_TRUE(fs.DirectoryExists(L"C:\\NoSuch\\Deeper"));
    EXPECT_TRUE(fs.DirectoryExists(L"C:\\NoSuch\\Deeper\\Deepest"));
    EXPECT_TRUE(fs.ForceDirectories(L"C:\\NoSuch\\Deeper"));  // already there
    EXPECT_TRUE(fs.WriteWholeFile(L"C:\\NoSuch\\a.txt", B("x")));
    EXPECT_TRUE(fs.WriteWholeFile(L"C:\\root.txt", B("x")));

    // A file is no folder, and a folder is no file.
    EXPECT_FALSE(fs.DirectoryExists(L"C:\\NoSuch\\a.txt"));
    EXPECT_FALSE(fs.ForceDirectories(L"C:\\NoSuch\\a.txt\\below"));
    EXPECT_FALSE(fs.WriteWholeFile(L"C:\\NoSuch\\a.txt\\below.txt", B("x")));
    EXPECT_FALSE(fs.FileExists(L"C:\\NoSuch"));
    EXPECT_FALSE(fs.WriteWholeFile(L"C:\\NoSuch", B("x")));
    EXPECT_EQ(fs.ReadWholeFile(L"C:\\NoSuch"), std::nullopt);

    EXPECT_TRUE(fs.DirectoryExists(L"C:\\"));
    EXPECT_TRUE(fs.DirectoryExists(L"\\\\server\\share"));
    EXPECT_FALSE(fs.ForceDirectories(L"relative"));
    EXPECT_FALSE(fs.WriteWholeFile(L"relative.txt", B("x")));
}

TEST(SimFileSystemFolders, StandardFoldersExistFromTheStart) {
    SimFileSystem fs;
    EXPECT_EQ(fs.TempFolder(), L"C:\\Users\\tester\\AppData\\Local\\Temp\\");
    EXPECT_EQ(fs.CommonAppDataFolder(), L"C:\\ProgramData");
    EXPECT_EQ(fs.ProgramPath(), L"C:\\Program Files\\Varintex\\Corventa.exe");
    EXPECT_TRUE(fs.DirectoryExists(fs.TempFolder()));
    EXPECT_TRUE(fs.DirectoryExists(fs.CommonAppDataFolder()));
    EXPECT_TRUE(fs.DirectoryExists(L"C:\\Program Files\\Varintex"));
    EXPECT_FALSE(fs.FileExists(fs.ProgramPath()));

    fs.SetTempFolder(L"D:\\T");
    fs.SetCommonAppDataFolder(L"D:\\Common\\");
    fs.SetProgramPath(L"E:\\Tools\\Setup.exe");
    EXPECT_EQ(fs.TempFolder(), L"D:\\T\\");
    EXPECT_EQ(fs.CommonAppDataFolder(), L"D:\\Common");
    EXPECT_TRUE(fs.DirectoryExists(L"D:\\T"));
    EXPECT_TRUE(fs.DirectoryExists(L"D:\\Common"));
    EXPECT_TRUE(fs.DirectoryExists(L"E:\\Tools"));
    EXPECT_EQ(fs.LongPathName(L"D:\\T\\"), L"D:\\T\\");
}

TEST(SimFileSystemTemp, UniqueNamesLikeThePlatform) {
    SimFileSystem fs;
    const std::wstring folder = fs.TempFolder();
    ASSERT_TRUE(fs.WriteWholeFile(folder + L"tmp0001.tmp", B("taken")));

    std::vector<std::wstring> names;
    for (int k = 0; k < 3; ++k) {
        names.push_back(fs.CreateUniqueTempFile(folder, L"tmp"));
    }
    // The taken name is skipped and left alone.
    EXPECT_EQ(names,
              (std::vector<std::wstring>{folder + L"tmp0002.tmp", folder + L"tmp0003.tmp", folder + L"tmp0004.tmp"}));
    EXPECT_EQ(fs.ReadWholeFile(folder + L"tmp0001.tmp"), B("taken"));
    for (const auto& name : names) {
        EXPECT_EQ(fs.ReadWholeFile(name), Bytes());
    }
    // Only three characters of the prefix count; a folder without its separator gets one.
    ASSERT_TRUE(fs.ForceDirectories(L"C:\\Work"));
    const std::wstring longPrefix = fs.CreateUniqueTempFile(L"C:\\Work", L"Nozzle");
    EXPECT_EQ(longPrefix, L"C:\\Work\\Noz0005.tmp");
    EXPECT_TRUE(fs.FileExists(longPrefix));

    EXPECT_EQ(fs.CreateUniqueTempFile(L"C:\\Missing", L"tmp"), L"");
    fs.SetWriteFailure(L"C:\\Work");
    EXPECT_EQ(fs.CreateUniqueTempFile(L"C:\\Work", L"tmp"), L"");
}

TEST(SimFileSystemOpen, DispositionsOnFiles) {
    SimFileSystem fs;
    const std::wstring path = L"C:\\ProgramData\\job.prn";
    OpenFileRequest request;
    request.path = path;

    request.disposition = Disposition::OpenExisting;
    EXPECT_EQ(fs.Open(request), nullptr);
    EXPECT_FALSE(fs.FileExists(path));

    request.disposition = Disposition::CreateAlways;
    auto file = fs.Open(request);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(WriteAll(*file, "hello "));
    EXPECT_TRUE(WriteAll(*file, "world"));
    file.reset();
    EXPECT_EQ(fs.ReadWholeFile(path), B("hello world"));

    // OpenAlways and OpenExisting keep the content and write from the start.
    request.disposition = Disposition::OpenAlways;
    file = fs.Open(request);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(WriteAll(*file, "HE"));
    file.reset();
    EXPECT_EQ(fs.ReadWholeFile(path), B("HEllo world"));

    request.disposition = Disposition::CreateAlways;
    file = fs.Open(request);
    ASSERT_NE(file, nullptr);
    file.reset();
    EXPECT_EQ(fs.ReadWholeFile(path), Bytes());

    // Without write access nothing is written.
    request.disposition = Disposition::OpenExisting;
    request.write = false;
    file = fs.Open(request);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(WriteAll(*file, "x"));

    request.path = L"C:\\Missing\\job.prn";
    request.disposition = Disposition::CreateAlways;
    EXPECT_EQ(fs.Open(request), nullptr);
    request.path = L"C:\\ProgramData";
    EXPECT_EQ(fs.Open(request), nullptr);
}

TEST(SimFileSystemOpen, DevicesRecordWhatIsWritten) {
    SimFileSystem fs;
    fs.AddDevice(L"\\\\?\\LPT1");
    OpenFileRequest request;
    request.path = L"\\\\?\\LPT1";
    request.disposition = Disposition::OpenExisting;
    auto port = fs.Open(request);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(WriteAll(*port, "\x1B\x1D\x1E"));
    EXPECT_TRUE(WriteAll(*port, ""));
    EXPECT_TRUE(WriteAll(*port, "\x1B\x1D\x1F"));
    port.reset();
    EXPECT_EQ(fs.DeviceWrites(L"\\\\.\\lpt1"), (std::vector<Bytes>{B("\x1B\x1D\x1E"), Bytes(), B("\x1B\x1D\x1F")}));
    EXPECT_EQ(fs.DeviceBytes(L"LPT1"), B("\x1B\x1D\x1E\x1B\x1D\x1F"));
    EXPECT_FALSE(fs.FileExists(L"\\\\?\\LPT1"));

    // A port is never created: CreateAlways on it fails, as does a port nobody registered.
    request.disposition = Disposition::CreateAlways;
    EXPECT_EQ(fs.Open(request), nullptr);
    request.disposition = Disposition::OpenExisting;
    request.path = L"\\\\?\\COM1";
    EXPECT_EQ(fs.Open(request), nullptr);
    EXPECT_TRUE(fs.DeviceWrites(L"\\\\?\\COM1").empty());

    fs.AddDevice(L"COM1");
    EXPECT_NE(fs.Open(request), nullptr);
    fs.RemoveDevice(L"\\\\.\\COM1");
    EXPECT_EQ(fs.Open(request), nullptr);
}

TEST(SimFileSystemOpen, EveryOpenIsLoggedAsRequested) {
    SimFileSystem fs;
    fs.AddDevice(L"\\\\?\\LPT1");
    OpenFileRequest port;
    port.path = L"\\\\?\\LPT1";
    port.read = true;
    port.write = true;
    port.disposition = Disposition::OpenExisting;
    OpenFileRequest file;
    file.path = L"\\\\?\\C:\\Users\\tester\\AppData\\Local\\Temp\\out.prn";
    file.read = false;
    file.shareWrite = false;
    file.disposition = Disposition::CreateAlways;
    OpenFileRequest missing;
    missing.path = L"\\\\?\\COM9";

    EXPECT_NE(fs.Open(port), nullptr);
    EXPECT_NE(fs.Open(file), nullptr);
    EXPECT_EQ(fs.Open(missing), nullptr);

    const auto log = fs.OpenLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].path, L"\\\\?\\LPT1");
    EXPECT_EQ(log[0].disposition, Disposition::OpenExisting);
    EXPECT_TRUE(log[0].read && log[0].write);
    EXPECT_EQ(log[1].path, file.path);
    EXPECT_EQ(log[1].disposition, Disposition::CreateAlways);
    EXPECT_FALSE(log[1].read);
    EXPECT_FALSE(log[1].shareWrite);
    EXPECT_EQ(log[2].path, L"\\\\?\\COM9");
    EXPECT_TRUE(fs.FileExists(L"C:\\Users\\tester\\AppData\\Local\\Temp\\out.prn"));

    fs.ClearOpenLog();
    EXPECT_TRUE(fs.OpenLog().empty());
}

TEST(SimFileSystemFaults, WriteAndOpenFailuresCoverAPathAndWhatIsBelowIt) {
    SimFileSystem fs;
    ASSERT_TRUE(fs.ForceDirectories(L"C:\\Locked"));
    ASSERT_TRUE(fs.ForceDirectories(L"C:\\LockedNot"));
    ASSERT_TRUE(fs.WriteWholeFile(L"C:\\Locked\\keep.ini", B("keep")));
    fs.AddDevice(L"\\\\?\\LPT1");
    OpenFileRequest port;
    port.path = L"\\\\?\\LPT1";
    auto open = fs.Open(port);
    ASSERT_NE(open, nullptr);

    fs.SetWriteFailure(L"c:\\locked");
    fs.SetWriteFailure(L"LPT1");
    EXPECT_FALSE(fs.WriteWholeFile(L"C:\\Locked\\keep.ini", B("new")));
    EXPECT_FALSE(fs.WriteWholeFile(L"C:\\Locked\\other.ini", B("new")));
    EXPECT_FALSE(fs.ForceDirectories(L"C:\\Locked\\Sub"));
    EXPECT_FALSE(fs.DeleteFile(L"C:\\Locked\\keep.ini"));
    EXPECT_TRUE(fs.WriteWholeFile(L"C:\\LockedNot\\a.ini", B("x")));
    EXPECT_EQ(fs.ReadWholeFile(L"C:\\Locked\\keep.ini"), B("keep"));
    OpenFileRequest create;
    create.path = L"C:\\Locked\\new.prn";
    create.disposition = Disposition::CreateAlways;
    EXPECT_EQ(fs.Open(create), nullptr);
    EXPECT_FALSE(WriteAll(*open, "x"));
    EXPECT_TRUE(fs.DeviceWrites(L"LPT1").empty());

    fs.ClearWriteFailures();
    EXPECT_TRUE(WriteAll(*open, "x"));
    EXPECT_TRUE(fs.WriteWholeFile(L"C:\\Locked\\keep.ini", B("new")));

    fs.SetOpenFailure(L"\\\\.\\LPT1");
    EXPECT_EQ(fs.Open(port), nullptr);
    fs.ClearOpenFailures();
    EXPECT_NE(fs.Open(port), nullptr);
}

TEST(SimFileSystemListing, SortedByPathWithFirstSpelling) {
    SimFileSystem fs;
    ASSERT_TRUE(fs.ForceDirectories(L"C:\\b\\Sub"));
    ASSERT_TRUE(fs.WriteWholeFile(L"C:\\b\\Sub\\Z.txt", B("")));
    ASSERT_TRUE(fs.WriteWholeFile(L"c:/B/a.TXT", B("")));
    EXPECT_EQ(fs.ListFiles(), (std::vector<std::wstring>{L"c:\\B\\a.TXT", L"C:\\b\\Sub\\Z.txt"}));
    const auto folders = fs.ListDirectories();
    EXPECT_NE(std::find(folders.begin(), folders.end(), L"C:\\b\\Sub"), folders.end());
}

}  // namespace
}  // namespace platform::sim
