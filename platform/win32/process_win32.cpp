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
    // The shell may hand the start to extensions that want COM in a single-threaded apartment. A thread that has
    // COM already keeps it as it is (S_FALSE, or RPC_E_CHANGED_MODE in another apartment).
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // The process handle to wait on; the start done when the call returns, whatever the thread's apartment; and
    // no message box of the shell's when the program cannot start: the caller decides what the user sees.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = NullIfEmpty(parameters);
    info.nShow = SW_SHOWNORMAL;
    const BOOL started = ::ShellExecuteExW(&info);
    const DWORD error = ::GetLastError();  // ERROR_CANCELLED when the user refused the consent
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    if (!started) {
        ::SetLastError(error);
        return nullptr;
    }
    // Without a process handle (the shell may satisfy a start without making a process) there is nothing to
    // wait for, which the caller cannot tell from a program that never ran.
    if (!info.hProcess) {
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
