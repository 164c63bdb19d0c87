#pragma once
// The sim's file system: folders, files and port devices in memory, one tree per instance.
//
// Paths are Windows paths as windows_path_sim.h models them; a path it cannot place does not exist.
// Folders exist only when created: every drive root and UNC share exists, the temp, common application-data
// and program folders exist from the start, ForceDirectories makes the rest. As on Windows, creating a file
// needs its folder to exist. A file keeps the spelling of its first creation for listing.
// Devices (registered by AddDevice) open only with OpenExisting and record what is written to them. Every
// Open is logged as requested. Safe from any thread.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform::sim {

// The running program's file until a test says otherwise.
inline constexpr wchar_t kDefaultProgramPath[] = L"C:\\Program Files\\Varintex\\Corventa.exe";

struct WindowsPath;

class SimFileSystem : public platform::FileSystem {
public:
    SimFileSystem();
    ~SimFileSystem() override;
    SimFileSystem(const SimFileSystem&) = delete;
    SimFileSystem& operator=(const SimFileSystem&) = delete;

    // platform::FileSystem
    bool FileExists(const std::wstring& path) override;
    bool DirectoryExists(const std::wstring& path) override;
    bool DeleteFile(const std::wstring& path) override;
    bool ForceDirectories(const std::wstring& path) override;
    std::optional<Bytes> ReadWholeFile(const std::wstring& path) override;
    bool WriteWholeFile(const std::wstring& path, const Bytes& data) override;
    // As the platform's call: the first three characters of prefix and four upper-case hex digits.
    std::wstring CreateUniqueTempFile(const std::wstring& folder, const std::wstring& prefix) override;
    std::unique_ptr<File> Open(const OpenFileRequest& request) override;
    std::wstring TempFolder() override;
    std::wstring LongPathName(const std::wstring& path) override;
    std::wstring CommonAppDataFolder() override;
    std::wstring ProgramPath() override;

    // Settings; each folder (for ProgramPath: its folder) is created when set.
    void SetTempFolder(const std::wstring& folder);           // a trailing "\" is added when missing
    void SetCommonAppDataFolder(const std::wstring& folder);  // a trailing "\" is dropped
    void SetProgramPath(const std::wstring& path);

    // Registers a port device such as "\\?\LPT1" or "\\.\COM1"; "\\?\X" and "\\.\X" name the same device.
    void AddDevice(const std::wstring& path);
    void RemoveDevice(const std::wstring& path);
    // Each successful Write on the device, in order; and all of them joined.
    std::vector<Bytes> DeviceWrites(const std::wstring& path) const;
    Bytes DeviceBytes(const std::wstring& path) const;

    // Faults, for the path pathPrefix names and everything under it (files, folders and devices): writes fail
    // (WriteWholeFile, CreateUniqueTempFile, File::Write, DeleteFile, creating a file by Open, creating
    // folders). Several may be set.
    void SetWriteFailure(const std::wstring& pathPrefix);
    void ClearWriteFailures();
    // Open fails for such paths (a busy port, a locked file).
    void SetOpenFailure(const std::wstring& pathPrefix);
    void ClearOpenFailures();

    // Every Open as it was requested, in order.
    std::vector<OpenFileRequest> OpenLog() const;
    void ClearOpenLog();

    // Full paths of all files (spelling of their creation), sorted by canonical path.
    std::vector<std::wstring> ListFiles() const;
    // Full paths of all explicitly created folders, sorted the same way.
    std::vector<std::wstring> ListDirectories() const;

private:
    struct FileNode;
    class SimFile;
    class SimDevice;
    struct Device;

    bool ForceDirectoriesLocked(const WindowsPath& path, bool honourFaults);
    bool ParentExistsLocked(const WindowsPath& path) const;
    bool DirectoryExistsLocked(const std::wstring& key) const;
    bool WriteFailsLocked(const std::wstring& key) const;
    bool OpenFailsLocked(const std::wstring& key) const;
    void CreateFolderOf(const std::wstring& path);

    mutable std::mutex mutex_;
    std::map<std::wstring, std::shared_ptr<FileNode>> files_;
    std::map<std::wstring, std::wstring> folders_;  // key -> spelling
    std::map<std::wstring, std::shared_ptr<Device>> devices_;
    std::vector<std::wstring> writeFailures_;
    std::vector<std::wstring> openFailures_;
    std::vector<OpenFileRequest> openLog_;
    std::wstring tempFolder_;
    std::wstring commonAppData_;
    std::wstring programPath_;
    std::uint32_t tempCounter_ = 0;
};

}  // namespace platform::sim
