#pragma once
// Simulated process start and shell. Every Start is recorded; a runner the test installs plays the started
// program: it runs synchronously inside Start on the calling thread (so an end-to-end test can run the other
// program in-process) and gives its exit code, or nullopt when the program cannot be started (Start then
// returns null). Without a runner every start succeeds with exit code 0. Wait on a started process returns
// its exit code at once, since the program has already ended.
// While elevation is required, a plain Start is recorded as refused and fails with kErrorElevationRequired;
// StartElevated is recorded and, when the user's consent is given (the default), runs the runner; a refused
// consent fails with kErrorCancelled.
// ShellOpen records its target and returns the settable result (default true).
// The program's own command line is settable; until set, the default program file, quoted, as the desktop
// starts a program without arguments.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"

namespace platform::sim {

struct StartedProcess {
    std::wstring commandLine;
    std::wstring currentFolder;
    bool started = false;   // false when the runner refused the start
    bool elevated = false;  // through the shell's "runas" verb: program, a blank, the parameters
};

class SimProcesses : public Processes {
public:
    using Runner = std::function<std::optional<std::uint32_t>(const std::wstring& commandLine)>;

    SimProcesses();

    std::unique_ptr<Process> Start(const std::wstring& commandLine, const std::wstring& currentFolder) override;
    std::unique_ptr<Process> StartElevated(const std::wstring& program, const std::wstring& parameters) override;
    bool ShellOpen(const std::wstring& target) override;
    std::wstring CommandLine() override;

    void SetCommandLine(std::wstring commandLine);

    void SetRunner(Runner runner);  // an empty function removes it
    void SetShellOpenResult(bool succeeds);
    void SetElevationRequired(bool required);
    void SetElevationConsent(bool given);

    std::vector<StartedProcess> Started() const;
    std::vector<std::wstring> ShellOpened() const;

private:
    // Records the start and plays the program through the runner.
    std::unique_ptr<Process> Run(StartedProcess process);

    mutable std::mutex mutex_;
    Runner runner_;
    bool shellOpenResult_ = true;
    bool elevationRequired_ = false;
    bool elevationConsent_ = true;
    std::vector<StartedProcess> started_;
    std::vector<std::wstring> shellOpened_;
    std::wstring commandLine_;
};

}  // namespace platform::sim
