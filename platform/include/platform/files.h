#pragma once
// Files and folders. Paths are Windows paths ("C:\...", "\\?\...", "\\server\share\..."); the sim maps them
// into its sandbox and, as Windows, compares them without regard to letter case.
// All calls block on I/O, may run on any thread, and report failure through their result only.

#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"

namespace platform {

enum class Disposition { OpenExisting, CreateAlways, OpenAlways };

// An open file or device (the platform's file handle). Closed when destroyed.
class File {
public:
    virtual ~File() = default;
    // One write; false on failure. written receives the count written.
    virtual bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) = 0;
};

struct OpenFileRequest {
    std::wstring path;
    bool read = true;
    bool write = true;
    bool shareRead = true;
    bool shareWrite = true;
    Disposition disposition = Disposition::OpenExisting;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool DirectoryExists(const std::wstring& path) = 0;
    virtual bool DeleteFile(const std::wstring& path) = 0;
    // Creates the folder and every missing parent; true when it exists afterwards.
    virtual bool ForceDirectories(const std::wstring& path) = 0;
    virtual std::optional<Bytes> ReadWholeFile(const std::wstring& path) = 0;
    // Creates or replaces the file.
    virtual bool WriteWholeFile(const std::wstring& path, const Bytes& data) = 0;
    // Creates an empty file with a unique name "<prefix>XXXX.tmp" in folder and returns its path
    // (empty on failure).
    virtual std::wstring CreateUniqueTempFile(const std::wstring& folder, const std::wstring& prefix) = 0;
    // Opens a file or device (a port such as "\\?\LPT1"); null on failure.
    virtual std::unique_ptr<File> Open(const OpenFileRequest& request) = 0;

    // The user's temporary folder, long form, ending with "\".
    virtual std::wstring TempFolder() = 0;
    // The long form of an existing path (unchanged when it does not exist).
    virtual std::wstring LongPathName(const std::wstring& path) = 0;
    // The common application-data folder, without a trailing "\".
    virtual std::wstring CommonAppDataFolder() = 0;
    // Full path of the running program's own file.
    virtual std::wstring ProgramPath() = 0;
};

}  // namespace platform
