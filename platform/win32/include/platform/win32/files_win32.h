#pragma once
// Files and folders on the Win32 file API. Paths go to the system as they are (it compares them without
// regard to letter case itself).

#include "platform/files.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::wstring& path) override;
    bool DirectoryExists(const std::wstring& path) override;
    bool DeleteFile(const std::wstring& path) override;
    bool ForceDirectories(const std::wstring& path) override;
    // Files larger than kMaxWholeFile are refused: nothing the program reads whole comes near it.
    std::optional<Bytes> ReadWholeFile(const std::wstring& path) override;
    bool WriteWholeFile(const std::wstring& path, const Bytes& data) override;
    std::wstring CreateUniqueTempFile(const std::wstring& folder, const std::wstring& prefix) override;
    std::unique_ptr<File> Open(const OpenFileRequest& request) override;
    std::wstring TempFolder() override;
    std::wstring LongPathName(const std::wstring& path) override;
    std::wstring CommonAppDataFolder() override;
    std::wstring ProgramPath() override;

    static constexpr std::size_t kMaxWholeFile = 256u * 1024u * 1024u;
};

}  // namespace platform::win32
