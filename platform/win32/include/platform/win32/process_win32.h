#pragma once
// Process start (CreateProcessW) and wait, and the shell's open verb (ShellExecuteW).

#include "platform/process.h"

namespace platform::win32 {

class Win32Processes : public Processes {
public:
    std::unique_ptr<Process> Start(const std::wstring& commandLine, const std::wstring& currentFolder) override;
    bool ShellOpen(const std::wstring& target) override;
};

}  // namespace platform::win32
