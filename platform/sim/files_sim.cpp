#include "platform/sim/files_sim.h"

#include <algorithm>

#include "platform/sim/windows_path_sim.h"
#include "platform/text.h"

namespace platform::sim {

namespace {

const wchar_t kDefaultTempFolder[] = L"C:\\Users\\tester\\AppData\\Local\\Temp\\";
const wchar_t kDefaultCommonAppData[] = L"C:\\ProgramData";

std::wstring WithTrailingSeparator(std::wstring path) {
    if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) {
        path.push_back(L'\\');
    }
    return path;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) {
        path.pop_back();
    }
    return path;
}

}  // namespace

struct SimFileSystem::FileNode {
    std::wstring spelling;
    Bytes data;
};

struct SimFileSystem::Device {
    std::vector<Bytes> writes;
};

class SimFileSystem::SimFile : public File {
public:
    SimFile(SimFileSystem& fs, std::shared_ptr<FileNode> node, std::wstring key, bool canWrite)
        : fs_(fs), node_(std::move(node)), key_(std::move(key)), canWrite_(canWrite) {}

    bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
        written = 0;
        std::lock_guard lock(fs_.mutex_);
        if (!canWrite_ || (length > 0 && !data) || fs_.WriteFailsLocked(key_)) {
            return false;
        }
        Bytes& bytes = node_->data;
        if (bytes.size() < position_ + length) {
            bytes.resize(position_ + length);
        }
        std::copy(data, data + length, bytes.begin() + static_cast<std::ptrdiff_t>(position_));
        position_ += length;
        written = length;
        return true;
    }

private:
    SimFileSystem& fs_;
    std::shared_ptr<FileNode> node_;
    std::wstring key_;
    bool canWrite_;
    std::size_t position_ = 0;
};

class SimFileSystem::SimDevice : public File {
public:
    SimDevice(SimFileSystem& fs, std::shared_ptr<Device> device, std::wstring key, bool canWrite)
        : fs_(fs), device_(std::move(device)), key_(std::move(key)), canWrite_(canWrite) {}

    bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
        written = 0;
        std::lock_guard lock(fs_.mutex_);
        if (!canWrite_ || (length > 0 && !data) || fs_.WriteFailsLocked(key_)) {
            return false;
        }
        device_->writes.emplace_back(data, data + length);
        written = length;
        return true;
    }

private:
    SimFileSystem& fs_;
    std::shared_ptr<Device> device_;
    std::wstring key_;
    bool canWrite_;
};

SimFileSystem::SimFileSystem() {
    SetTempFolder(kDefaultTempFolder);
    SetCommonAppDataFolder(kDefaultCommonAppData);
    SetProgramPath(kDefaultProgramPath);
}

SimFileSystem::~SimFileSystem() = default;

bool SimFileSystem::DirectoryExistsLocked(const std::wstring& key) const {
    return folders_.count(key) > 0;
}

bool SimFileSystem::ParentExistsLocked(const WindowsPath& path) const {
    if (path.names.empty() || path.device) {
        return false;
    }
    return path.names.size() == 1 || DirectoryExistsLocked(path.Key(path.names.size() - 1));
}

namespace {

bool UnderAny(const std::vector<std::wstring>& prefixes, const std::wstring& key) {
    for (const auto& prefix : prefixes) {
        if (key == prefix || (StartsWith(key, prefix) && key[prefix.size()] == L'\\')) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool SimFileSystem::WriteFailsLocked(const std::wstring& key) const {
    return UnderAny(writeFailures_, key);
}

bool SimFileSystem::OpenFailsLocked(const std::wstring& key) const {
    return UnderAny(openFailures_, key);
}

bool SimFileSystem::FileExists(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    return files_.count(CanonicalPath(path)) > 0;
}

bool SimFileSystem::DirectoryExists(const std::wstring& path) {
    auto parsed = WindowsPath::From(path);
    if (!parsed || parsed->device) {
        return false;
    }
    std::lock_guard lock(mutex_);
    return parsed->names.empty() || DirectoryExistsLocked(parsed->Key());
}

bool SimFileSystem::DeleteFile(const std::wstring& path) {
    std::wstring key = CanonicalPath(path);
    std::lock_guard lock(mutex_);
    if (WriteFailsLocked(key)) {
        return false;
    }
    return files_.erase(key) > 0;
}

bool SimFileSystem::ForceDirectoriesLocked(const WindowsPath& path, bool honourFaults) {
    if (path.device) {
        return false;
    }
    for (std::size_t count = 1; count <= path.names.size(); ++count) {
        std::wstring key = path.Key(count);
        if (files_.count(key) > 0) {
            return false;
        }
        if (folders_.count(key) == 0) {
            if (honourFaults && WriteFailsLocked(key)) {
                return false;
            }
            folders_.emplace(key, path.Spelling(count));
        }
    }
    return true;
}

bool SimFileSystem::ForceDirectories(const std::wstring& path) {
    auto parsed = WindowsPath::From(path);
    if (!parsed) {
        return false;
    }
    std::lock_guard lock(mutex_);
    return ForceDirectoriesLocked(*parsed, true);
}

std::optional<Bytes> SimFileSystem::ReadWholeFile(const std::wstring& path) {
    std::wstring key = CanonicalPath(path);
    std::lock_guard lock(mutex_);
    auto it = files_.find(key);
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second->data;
}

bool SimFileSystem::WriteWholeFile(const std::wstring& path, const Bytes& data) {
    auto parsed = WindowsPath::From(path);
    if (!parsed) {
        return false;
    }
    std::wstring key = parsed->Key();
    std::lock_guard lock(mutex_);
    if (WriteFailsLocked(key) || DirectoryExistsLocked(key) || !ParentExistsLocked(*parsed)) {
        return false;
    }
    auto& node = files_[key];
    if (!node) {
        node = std::make_shared<FileNode>();
        node->spelling = parsed->Spelling();
    }
    node->data = data;
    return true;
}

std::wstring SimFileSystem::CreateUniqueTempFile(const std::wstring& folder, const std::wstring& prefix) {
    auto parsed = WindowsPath::From(folder);
    if (!parsed || parsed->device) {
        return {};
    }
    std::lock_guard lock(mutex_);
    if (!parsed->names.empty() && !DirectoryExistsLocked(parsed->Key())) {
        return {};
    }
    // As the platform's temporary-file call: at most three characters of the prefix, four hex digits.
    const std::wstring stem = prefix.substr(0, 3);
    for (std::uint32_t attempt = 0; attempt < 0xFFFF; ++attempt) {
        tempCounter_ = tempCounter_ % 0xFFFF + 1;  // 1..FFFF; 0 would mean "do not create"
        std::wstring name = stem + IntToHex(tempCounter_, 4) + L".tmp";
        WindowsPath file = *parsed;
        file.names.push_back(name);
        std::wstring key = file.Key();
        if (files_.count(key) > 0 || folders_.count(key) > 0) {
            continue;
        }
        if (WriteFailsLocked(key)) {
            return {};
        }
        auto node = std::make_shared<FileNode>();
        node->spelling = file.Spelling();
        files_.emplace(key, node);
        return WithTrailingSeparator(folder) + name;
    }
    return {};
}

std::unique_ptr<File> SimFileSystem::Open(const OpenFileRequest& request) {
    std::lock_guard lock(mutex_);
    openLog_.push_back(request);
    auto parsed = WindowsPath::From(request.path);
    if (!parsed) {
        return nullptr;
    }
    std::wstring key = parsed->Key();
    if (OpenFailsLocked(key)) {
        return nullptr;
    }
    auto device = devices_.find(key);
    if (device != devices_.end()) {
        // Ports exist already; a caller that asks to create one has the wrong disposition.
        if (request.disposition != Disposition::OpenExisting) {
            return nullptr;
        }
        return std::make_unique<SimDevice>(*this, device->second, key, request.write);
    }
    if (parsed->device || DirectoryExistsLocked(key) || parsed->names.empty()) {
        return nullptr;
    }
    auto it = files_.find(key);
    if (it == files_.end()) {
        if (request.disposition == Disposition::OpenExisting || WriteFailsLocked(key) || !ParentExistsLocked(*parsed)) {
            return nullptr;
        }
        auto node = std::make_shared<FileNode>();
        node->spelling = parsed->Spelling();
        it = files_.emplace(key, node).first;
    } else if (request.disposition == Disposition::CreateAlways) {
        if (WriteFailsLocked(key)) {
            return nullptr;
        }
        it->second->data.clear();
    }
    return std::make_unique<SimFile>(*this, it->second, key, request.write);
}

std::wstring SimFileSystem::TempFolder() {
    std::lock_guard lock(mutex_);
    return tempFolder_;
}

std::wstring SimFileSystem::LongPathName(const std::wstring& path) {
    // The sim has no short names: every existing path is already in its long form.
    return path;
}

std::wstring SimFileSystem::CommonAppDataFolder() {
    std::lock_guard lock(mutex_);
    return commonAppData_;
}

std::wstring SimFileSystem::ProgramPath() {
    std::lock_guard lock(mutex_);
    return programPath_;
}

void SimFileSystem::CreateFolderOf(const std::wstring& path) {
    if (auto parsed = WindowsPath::From(path)) {
        ForceDirectoriesLocked(*parsed, false);
    }
}

void SimFileSystem::SetTempFolder(const std::wstring& folder) {
    std::lock_guard lock(mutex_);
    tempFolder_ = WithTrailingSeparator(folder);
    CreateFolderOf(tempFolder_);
}

void SimFileSystem::SetCommonAppDataFolder(const std::wstring& folder) {
    std::lock_guard lock(mutex_);
    commonAppData_ = WithoutTrailingSeparators(folder);
    CreateFolderOf(commonAppData_);
}

void SimFileSystem::SetProgramPath(const std::wstring& path) {
    std::lock_guard lock(mutex_);
    programPath_ = path;
    std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        CreateFolderOf(path.substr(0, slash));
    }
}

void SimFileSystem::AddDevice(const std::wstring& path) {
    std::wstring key = CanonicalPath(path);
    if (key.empty()) {
        return;
    }
    std::lock_guard lock(mutex_);
    auto& device = devices_[key];
    if (!device) {
        device = std::make_shared<Device>();
    }
}

void SimFileSystem::RemoveDevice(const std::wstring& path) {
    std::wstring key = CanonicalPath(path);
    std::lock_guard lock(mutex_);
    devices_.erase(key);
}

std::vector<Bytes> SimFileSystem::DeviceWrites(const std::wstring& path) const {
    std::wstring key = CanonicalPath(path);
    std::lock_guard lock(mutex_);
    auto it = devices_.find(key);
    return it == devices_.end() ? std::vector<Bytes>() : it->second->writes;
}

Bytes SimFileSystem::DeviceBytes(const std::wstring& path) const {
    Bytes joined;
    for (const auto& write : DeviceWrites(path)) {
        joined.insert(joined.end(), write.begin(), write.end());
    }
    return joined;
}

void SimFileSystem::SetWriteFailure(const std::wstring& pathPrefix) {
    std::wstring key = CanonicalPath(pathPrefix);
    if (key.empty()) {
        return;
    }
    std::lock_guard lock(mutex_);
    writeFailures_.push_back(key);
}

void SimFileSystem::ClearWriteFailures() {
    std::lock_guard lock(mutex_);
    writeFailures_.clear();
}

void SimFileSystem::SetOpenFailure(const std::wstring& pathPrefix) {
    std::wstring key = CanonicalPath(pathPrefix);
    if (key.empty()) {
        return;
    }
    std::lock_guard lock(mutex_);
    openFailures_.push_back(key);
}

void SimFileSystem::ClearOpenFailures() {
    std::lock_guard lock(mutex_);
    openFailures_.clear();
}

std::vector<OpenFileRequest> SimFileSystem::OpenLog() const {
    std::lock_guard lock(mutex_);
    return openLog_;
}

void SimFileSystem::ClearOpenLog() {
    std::lock_guard lock(mutex_);
    openLog_.clear();
}

std::vector<std::wstring> SimFileSystem::ListFiles() const {
    std::lock_guard lock(mutex_);
    std::vector<std::wstring> out;
    out.reserve(files_.size());
    for (const auto& [key, node] : files_) {
        out.push_back(node->spelling);
    }
    return out;
}

std::vector<std::wstring> SimFileSystem::ListDirectories() const {
    std::lock_guard lock(mutex_);
    std::vector<std::wstring> out;
    out.reserve(folders_.size());
    for (const auto& [key, spelling] : folders_) {
        out.push_back(spelling);
    }
    return out;
}

}  // namespace platform::sim
