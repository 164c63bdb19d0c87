#include "platform/win32/process_win32.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

class Win32Process : public Process {
public:
    explicit Win32Process(UniqueHandle process) : process_(std::move(process)) {}

    std::optional<std::uint32_t> Wait(std::uint32_t timeoutMs) override {
        if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        if (!::GetExitCodeProcess(process_.get(), &code)) {
            return std::nullopt;
        }
        return code;
    }

private:
    UniqueHandle process_;
};

}  // namespace

std::unique_ptr<Process> Win32Processes::Start(const std::wstring& commandLine, const std::wstring& currentFolder) {
    // The call may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, NullIfEmpty(currentFolder),
                          &startup, &info)) {
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    return std::make_unique<Win32Process>(UniqueHandle(info.hProcess));
}

std::unique_ptr<Process> Win32Processes::StartElevated(const std::wstring& program, const std::wstring& parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = NullIfEmpty(parameters);
    info.nShow = SW_SHOWNORMAL;
    // A refused consent fails with ERROR_CANCELLED. Without a process handle there is nothing to wait for,
    // which the caller cannot tell from a program that never ran.
    if (!::ShellExecuteExW(&info) || !info.hProcess) {
        return nullptr;
    }
    return std::make_unique<Win32Process>(UniqueHandle(info.hProcess));
}

bool Win32Processes::ShellOpen(const std::wstring& target) {
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are error codes.
    return reinterpret_cast<std::intptr_t>(result) > 32;
}

std::wstring Win32Processes::CommandLine() {
    const wchar_t* commandLine = ::GetCommandLineW();
    return commandLine ? std::wstring(commandLine) : std::wstring();
}

}  // namespace platform::win32
