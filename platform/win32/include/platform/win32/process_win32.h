#pragma once
// Process start (CreateProcessW) and wait, the shell's "runas" start (ShellExecuteExW), the shell's open verb
// (ShellExecuteW) and the program's own command
// line (GetCommandLineW).

#include "platform/process.h"

namespace platform::win32 {

class Win32Processes : public Processes {
public:
    std::unique_ptr<Process> Start(const std::wstring& commandLine, const std::wstring& currentFolder) override;
    std::unique_ptr<Process> StartElevated(const std::wstring& program, const std::wstring& parameters) override;
    bool ShellOpen(const std::wstring& target) override;
    std::wstring CommandLine() override;
};

}  // namespace platform::win32
