#include "platform/sim/process_sim.h"

#include "platform/platform.h"
#include "platform/sim/files_sim.h"
#include "platform/thread_state.h"
#include "platform/usb_printer.h"

namespace platform::sim {

namespace {

// A process that has already run to its end inside Start.
class EndedProcess : public Process {
public:
    explicit EndedProcess(std::uint32_t exitCode) : exitCode_(exitCode) {}
    std::optional<std::uint32_t> Wait(std::uint32_t) override { return exitCode_; }

private:
    std::uint32_t exitCode_;
};

}  // namespace

SimProcesses::SimProcesses() : commandLine_(L"\"" + std::wstring(kDefaultProgramPath) + L"\"") {}

std::unique_ptr<Process> SimProcesses::Start(const std::wstring& commandLine, const std::wstring& currentFolder) {
    {
        std::lock_guard lock(mutex_);
        if (elevationRequired_) {
            started_.push_back(StartedProcess{commandLine, currentFolder, false});
            threadState().SetLastError(kErrorElevationRequired);
            return nullptr;
        }
    }
    return Run(StartedProcess{commandLine, currentFolder, true});
}

std::unique_ptr<Process> SimProcesses::StartElevated(const std::wstring& program, const std::wstring& parameters) {
    StartedProcess process{program + L" " + parameters, L"", true, true};
    {
        std::lock_guard lock(mutex_);
        if (!elevationConsent_) {
            process.started = false;
            started_.push_back(process);
            threadState().SetLastError(kErrorCancelled);
            return nullptr;
        }
    }
    return Run(std::move(process));
}

std::unique_ptr<Process> SimProcesses::Run(StartedProcess process) {
    const std::wstring commandLine = process.commandLine;
    Runner runner;
    std::size_t index = 0;
    {
        std::lock_guard lock(mutex_);
        index = started_.size();
        started_.push_back(std::move(process));
        runner = runner_;
    }
    // Outside the lock: the runner may be a whole program that starts processes of its own.
    const std::optional<std::uint32_t> exitCode = runner ? runner(commandLine) : std::optional<std::uint32_t>(0);
    if (!exitCode) {
        {
            std::lock_guard lock(mutex_);
            if (index < started_.size()) {
                started_[index].started = false;
            }
        }
        // As the system's process start says of a program it cannot find: never an earlier call's error.
        threadState().SetLastError(kErrorFileNotFound);
        return nullptr;
    }
    return std::make_unique<EndedProcess>(*exitCode);
}

bool SimProcesses::ShellOpen(const std::wstring& target) {
    std::lock_guard lock(mutex_);
    shellOpened_.push_back(target);
    return shellOpenResult_;
}

void SimProcesses::SetRunner(Runner runner) {
    std::lock_guard lock(mutex_);
    runner_ = std::move(runner);
}

void SimProcesses::SetElevationRequired(bool required) {
    std::lock_guard lock(mutex_);
    elevationRequired_ = required;
}

void SimProcesses::SetElevationConsent(bool given) {
    std::lock_guard lock(mutex_);
    elevationConsent_ = given;
}

void SimProcesses::SetShellOpenResult(bool succeeds) {
    std::lock_guard lock(mutex_);
    shellOpenResult_ = succeeds;
}

std::vector<StartedProcess> SimProcesses::Started() const {
    std::lock_guard lock(mutex_);
    return started_;
}

std::vector<std::wstring> SimProcesses::ShellOpened() const {
    std::lock_guard lock(mutex_);
    return shellOpened_;
}

std::wstring SimProcesses::CommandLine() {
    std::lock_guard lock(mutex_);
    return commandLine_;
}

void SimProcesses::SetCommandLine(std::wstring commandLine) {
    std::lock_guard lock(mutex_);
    commandLine_ = std::move(commandLine);
}

}  // namespace platform::sim
