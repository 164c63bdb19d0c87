// The real platform under test. The scratch folder is a fresh folder under the temporary folder, removed with
// what it holds when the test ends. The contract printer exists when the Wine harness has seeded it; its port
// is mapped to the file that CORVENTA_CONTRACT_PORT_FILE names (a Windows path), from which the raw jobs are
// read back.
#include <cstdlib>

#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "platform_under_test.h"

namespace contract {
namespace {

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + L"\\");
            } else {
                ::SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW((folder + name).c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

// Where Wine's implementation answers otherwise than Windows does (and the sim, which follows Windows).
struct Deviation {
    const char* caseName;
    const char* reason;
};
constexpr Deviation kWineDeviations[] = {
    {"non-ASCII names ignore letter case (UTF-16LE)", "Wine folds only ASCII letters in profile names"},
    {"non-ASCII names ignore letter case (8-bit)", "Wine folds only ASCII letters in profile names"},
    {"line without = is no value (UTF-16LE)", "Wine takes a line without \"=\" as the key's first occurrence"},
    {"line without = is no value (8-bit)", "Wine takes a line without \"=\" as the key's first occurrence"},
    {"UTF-8 byte-order mark is code-page text (8-bit)", "Wine reads a file with the UTF-8 mark as UTF-8"},
    {"listing one", "Wine lists no line without \"=\" among a section's keys"},
    {"a line without = is not replaced", "Wine takes a line without \"=\" as the key's first occurrence"},
    {"erase every section of the name", "Wine erases only the first section of the name"},
    {"temp-file digits unpadded", "Wine writes a unique number below 0x1000 with fewer than four digits"},
};

class Win32UnderTest : public PlatformUnderTest {
public:
    explicit Win32UnderTest(const std::string& testName) {
        scratch_ =
            platform_.table().files->TempFolder() + L"corventa-contract-" + platform::Utf8ToWide(testName) + L"\\";
        RemoveTree(scratch_);
        ::CreateDirectoryW(scratch_.c_str(), nullptr);
        portFile_ = Env(L"CORVENTA_CONTRACT_PORT_FILE");
        if (!portFile_.empty()) {
            ::DeleteFileW(portFile_.c_str());
        }
    }
    ~Win32UnderTest() override { RemoveTree(scratch_); }

    const char* Name() const override { return "win32"; }
    std::wstring Scratch() const override { return scratch_; }
    bool UseSystemCodePage(std::uint32_t codePage) override { return ::GetACP() == codePage; }
    bool HasPrinter() const override { return !portFile_.empty(); }
    std::optional<platform::Bytes> PortBytes() override {
        if (portFile_.empty()) {
            return std::nullopt;
        }
        return platform_.table().files->ReadWholeFile(portFile_);
    }
    std::wstring SilentDevicePath() override {
        // The server end of a pipe that nobody serves: the client end opens as a device does, takes what is
        // written into the pipe's buffer and never has anything to read. An instance takes one client only.
        const std::wstring path = L"\\\\.\\pipe\\corventa-contract-silent-" + std::to_wstring(::GetCurrentProcessId());
        silent_.reset();
        silent_.reset(::CreateNamedPipeW(path.c_str(), PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr));
        return silent_.valid() ? path : std::wstring();
    }
    std::wstring ExitCodeProgram() override {
        // Built beside the suite (tests/contract/exit_code_program.cpp).
        const std::wstring suite = platform_.table().files->ProgramPath();
        return suite.substr(0, suite.find_last_of(L'\\') + 1) + L"contract_exit_code.exe";
    }
    bool HidePortLibrary() override {
        // Found only where the harness puts it on purpose.
        return ::SearchPathW(nullptr, L"QVP_RW.dll", nullptr, 0, nullptr, nullptr) == 0;
    }

    std::string KnownDeviation(const std::string& caseName) const override {
        if (!underWine_) {
            return {};
        }
        for (const Deviation& d : kWineDeviations) {
            if (caseName == d.caseName) {
                return d.reason;
            }
        }
        return {};
    }

private:
    platform::win32::Win32Platform platform_;
    bool underWine_ = UnderWine();
    std::wstring scratch_;
    std::wstring portFile_;
    platform::win32::UniqueHandle silent_;
};

}  // namespace

std::unique_ptr<PlatformUnderTest> MakePlatformUnderTest(const std::string& testName) {
    return std::make_unique<Win32UnderTest>(testName);
}

}  // namespace contract
