#include "platform/win32/files_win32.h"

#include <algorithm>
#include <vector>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

class Win32File : public File {
public:
    explicit Win32File(UniqueHandle handle) : handle_(std::move(handle)) {}

    bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
        written = 0;
        if (length > 0 && !data) {
            return false;
        }
        while (written < length) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - written, 1u << 30));
            DWORD n = 0;
            if (!::WriteFile(handle_.get(), data + written, chunk, &n, nullptr)) {
                return false;
            }
            written += n;
            if (n == 0) {
                return false;
            }
        }
        return true;
    }

private:
    UniqueHandle handle_;
};

DWORD Attributes(const std::wstring& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path.c_str());
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Past server and share of a UNC path whose server name starts at i.
std::size_t UncRootLength(const std::wstring& path, std::size_t i) {
    for (int parts = 0; parts < 2 && i < path.size(); ++parts) {
        while (i < path.size() && !IsSeparator(path[i])) {
            ++i;
        }
        if (i < path.size()) {
            ++i;
        }
    }
    return i;
}

// The length of the part of path that names a root and cannot be created: "C:\", "\\server\share\",
// "\\?\C:\", "\\?\UNC\server\share\".
std::size_t RootLength(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return UncRootLength(path, 8);
    }
    std::size_t i = 0;
    if (path.rfind(L"\\\\?\\", 0) == 0) {
        i = 4;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        return UncRootLength(path, 2);
    }
    if (path.size() >= i + 2 && path[i + 1] == L':') {
        return std::min(path.size(), i + 3);
    }
    return i;
}

}  // namespace

bool Win32FileSystem::FileExists(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DeleteFile(const std::wstring& path) {
    return !path.empty() && ::DeleteFileW(path.c_str());
}

bool Win32FileSystem::ForceDirectories(const std::wstring& path) {
    std::wstring p = path;
    while (p.size() > RootLength(p) && IsSeparator(p.back())) {
        p.pop_back();
    }
    if (p.empty()) {
        return false;
    }
    if (DirectoryExists(p)) {
        return true;
    }
    if (p.size() <= RootLength(p)) {
        return false;  // a drive or share that is not there
    }
    const std::size_t cut = p.find_last_of(L"\\/");
    if (cut != std::wstring::npos && cut >= RootLength(p) && !ForceDirectories(p.substr(0, cut))) {
        return false;
    }
    return ::CreateDirectoryW(p.c_str(), nullptr) || DirectoryExists(p);
}

std::optional<Bytes> Win32FileSystem::ReadWholeFile(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > kMaxWholeFile) {
        return std::nullopt;
    }
    Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n, nullptr)) {
            return std::nullopt;
        }
        if (n == 0) {
            bytes.resize(done);  // the file shrank while we read
            break;
        }
        done += n;
    }
    return bytes;
}

bool Win32FileSystem::WriteWholeFile(const std::wstring& path, const Bytes& data) {
    if (path.empty()) {
        return false;
    }
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    std::size_t written = 0;
    return Win32File(std::move(file)).Write(data.data(), data.size(), written);
}

std::wstring Win32FileSystem::CreateUniqueTempFile(const std::wstring& folder, const std::wstring& prefix) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (folder.empty() || !::GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer)) {
        return {};
    }
    return buffer;
}

std::unique_ptr<File> Win32FileSystem::Open(const OpenFileRequest& request) {
    if (request.path.empty()) {
        return nullptr;
    }
    DWORD access = 0;
    access |= request.read ? GENERIC_READ : 0;
    access |= request.write ? GENERIC_WRITE : 0;
    DWORD share = 0;
    share |= request.shareRead ? FILE_SHARE_READ : 0;
    share |= request.shareWrite ? FILE_SHARE_WRITE : 0;
    DWORD disposition = OPEN_EXISTING;
    if (request.disposition == Disposition::CreateAlways) {
        disposition = CREATE_ALWAYS;
    } else if (request.disposition == Disposition::OpenAlways) {
        disposition = OPEN_ALWAYS;
    }
    UniqueHandle handle(
        ::CreateFileW(request.path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        return nullptr;
    }
    return std::make_unique<Win32File>(std::move(handle));
}

std::wstring Win32FileSystem::TempFolder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH + 1) {
        return {};
    }
    std::wstring folder = LongPathName(std::wstring(buffer, n));
    if (folder.empty() || !IsSeparator(folder.back())) {
        folder += L'\\';
    }
    return folder;
}

std::wstring Win32FileSystem::LongPathName(const std::wstring& path) {
    if (path.empty()) {
        return path;
    }
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = ::GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return path;
        }
        if (n < buffer.size()) {
            return std::wstring(buffer.data(), n);
        }
        buffer.resize(n + 1);
    }
    return path;
}

std::wstring Win32FileSystem::CommonAppDataFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
        return {};
    }
    std::wstring folder = buffer;
    while (folder.size() > 3 && IsSeparator(folder.back())) {
        folder.pop_back();
    }
    return folder;
}

std::wstring Win32FileSystem::ProgramPath() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    while (buffer.size() <= 32768) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return std::wstring(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

}  // namespace platform::win32
