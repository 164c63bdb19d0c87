#pragma once
// Starting programs and the shell, and the running program's own command line. Start returns at once; Wait
// blocks the calling thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
// Start's failure when the program asks for administrator rights that the caller lacks.
inline constexpr std::uint32_t kErrorElevationRequired = 740;
// StartElevated's failure when the user refuses the consent.
inline constexpr std::uint32_t kErrorCancelled = 1223;

class Process {
public:
    virtual ~Process() = default;
    // Waits up to timeoutMs (kInfinite: without limit); the exit code, or nothing on time-out.
    virtual std::optional<std::uint32_t> Wait(std::uint32_t timeoutMs) = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    // commandLine as the platform's process-creation call takes it: program path (quoted when needed) and
    // arguments. Null when the program cannot be started; the thread's last error then says why
    // (kErrorElevationRequired when the program asks for administrator rights the caller lacks).
    virtual std::unique_ptr<Process> Start(const std::wstring& commandLine, const std::wstring& currentFolder) = 0;
    // Starts program (a path, not quoted) with parameters through the shell's "runas" verb, which asks the user's
    // consent for administrator rights. Blocks while the consent is asked; shows no message of its own. Null when
    // refused (the thread's last error is then kErrorCancelled) or when it cannot start.
    virtual std::unique_ptr<Process> StartElevated(const std::wstring& program, const std::wstring& parameters) = 0;
    // Opens a document or web address with its associated program; false on failure.
    virtual bool ShellOpen(const std::wstring& target) = 0;
    // The command line this program was started with, as its starter passed it: the program (quoted or not,
    // as the starter wrote it) and the arguments. Never fails or blocks; any thread.
    virtual std::wstring CommandLine() = 0;
};

}  // namespace platform
