// The stand-in port library: the seven operations over one virtual printer.
//
// Several program runs talk to one printer: its state (settings, model, menu, faults) lives in the file that
// QVP_RW_STATE names, loaded when a port opens and saved after every write and at close. Every byte the
// printer receives is appended to the file that QVP_RW_LOG names. QVP_RW_MODEL, QVP_RW_SERIAL and QVP_RW_PORT
// (a number) give its identity; without them it is model "VP-1", serial "VP0001" on port "USB001".
//
// A port handle is the log file opened for appending (or the null device): a real file handle, as the program
// expects, since it may CancelIo one or close one with CloseHandle.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

#include "platform/win32/qvp_rw_abi.h"
#include "platform/win32/windows_api.h"
#include "vprinter/virtual_printer.h"

namespace {

namespace qvp = platform::win32::qvp;

constexpr DWORD kErrorTimeout = 1460;
constexpr std::int32_t kWriteFailed = -2;
// Longer waits than any the program asks for are cut to this.
constexpr std::int32_t kMaxWaitMs = 60000;

// From the process environment itself, not the C runtime's copy of it taken at start-up, so that a test can
// set the variables before its first call.
std::string Env(const char* name, const char* fallback) {
    char buffer[1024] = {};
    const DWORD n = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(fallback);
}

// Zero-terminated text into a caller's buffer of size bytes, cut to fit.
void CopyText(const std::string& text, char* buffer, std::uint32_t size) {
    if (!buffer || size == 0) {
        return;
    }
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::uint64_t NowMs() {
    return ::GetTickCount64();
}

class StandIn {
public:
    StandIn() {
        int port = std::atoi(Env("QVP_RW_PORT", "1").c_str());
        if (port < 1 || port > 999) {
            port = 1;
        }
        printer_ = std::make_unique<vprinter::VirtualPrinter>(
            vprinter::makeIdentity(Env("QVP_RW_MODEL", "VP-1"), Env("QVP_RW_SERIAL", "VP0001"), port));
        statePath_ = Env("QVP_RW_STATE", "");
        logPath_ = Env("QVP_RW_LOG", "");
    }

    std::mutex& mutex() { return mutex_; }
    vprinter::VirtualPrinter& printer() { return *printer_; }

    void Load() {
        if (!statePath_.empty()) {
            printer_->loadState(statePath_);
        }
    }
    void Save() {
        if (!statePath_.empty()) {
            printer_->saveState(statePath_);
        }
    }

    qvp::Handle Open() {
        Load();
        if (!printer_->canOpen()) {
            return -1;
        }
        const std::string path = logPath_.empty() ? std::string("NUL") : logPath_;
        HANDLE h = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return -1;
        }
        const auto handle = reinterpret_cast<qvp::Handle>(h);
        open_[handle] = true;
        return handle;
    }
    bool IsOpen(qvp::Handle handle) const { return open_.count(handle) > 0; }
    void Close(qvp::Handle handle) {
        if (open_.erase(handle)) {
            Save();
            ::CloseHandle(reinterpret_cast<HANDLE>(handle));
        }
    }

private:
    std::mutex mutex_;
    std::unique_ptr<vprinter::VirtualPrinter> printer_;
    std::string statePath_;
    std::string logPath_;
    std::map<qvp::Handle, bool> open_;
};

StandIn& Instance() {
    static StandIn instance;
    return instance;
}

}  // namespace

extern "C" {

std::int32_t __stdcall USBPrintRefresh() {
    return 1;
}

std::int32_t __stdcall GetUSBPrintFileName(std::int32_t index, char* buffer, std::uint32_t* length) {
    if (index != 0 || !length) {
        return 0;
    }
    StandIn& s = Instance();
    std::lock_guard lock(s.mutex());
    CopyText(s.printer().identity().devicePath, buffer, *length);
    return 1;
}

std::int32_t __stdcall GetUSBHWID(std::int32_t index,
                                  char* portBuffer,
                                  std::uint32_t portLength,
                                  char* idBuffer,
                                  std::uint32_t idLength) {
    if (index != 0) {
        return 0;
    }
    StandIn& s = Instance();
    std::lock_guard lock(s.mutex());
    CopyText(s.printer().identity().portName, portBuffer, portLength);
    CopyText(s.printer().identity().deviceId, idBuffer, idLength);
    return 1;
}

qvp::Handle __stdcall OpenPrinterUSBPort(std::int32_t port) {
    if (port != 1) {
        return -1;
    }
    StandIn& s = Instance();
    std::lock_guard lock(s.mutex());
    return s.Open();
}

std::int32_t __stdcall WritePort(qvp::Handle handle,
                                 const std::uint8_t* data,
                                 std::int32_t length,
                                 std::int32_t timeoutMs) {
    StandIn& s = Instance();
    std::size_t taken = 0;
    {
        std::lock_guard lock(s.mutex());
        if (!s.IsOpen(handle) || length < 0 || (length > 0 && !data) || !s.printer().canOpen()) {
            return kWriteFailed;
        }
        taken = s.printer().hostWrite(data, static_cast<std::size_t>(length), NowMs());
        DWORD written = 0;
        ::WriteFile(reinterpret_cast<HANDLE>(handle), data, static_cast<DWORD>(taken), &written, nullptr);
        s.Save();
    }
    if (taken < static_cast<std::size_t>(length)) {
        // A device that takes less than it was given holds the call for its whole time-out.
        ::Sleep(static_cast<DWORD>(std::clamp(timeoutMs, 0, kMaxWaitMs)));
        ::SetLastError(kErrorTimeout);
    }
    return static_cast<std::int32_t>(taken);
}

std::int32_t __stdcall ReadPort(qvp::Handle handle, std::uint8_t* buffer, std::int32_t length, std::int32_t timeoutMs) {
    StandIn& s = Instance();
    if (length <= 0 || !buffer) {
        return 0;
    }
    const std::uint64_t deadline = NowMs() + static_cast<std::uint64_t>(std::clamp(timeoutMs, 0, kMaxWaitMs));
    for (;;) {
        std::uint64_t wakeAt = deadline;
        std::uint64_t now = 0;
        {
            std::lock_guard lock(s.mutex());
            if (!s.IsOpen(handle)) {
                ::SetLastError(ERROR_INVALID_HANDLE);
                return 0;
            }
            now = NowMs();
            vprinter::Bytes reply = s.printer().hostRead(static_cast<std::size_t>(length), now);
            if (!reply.empty()) {
                std::memcpy(buffer, reply.data(), reply.size());
                return static_cast<std::int32_t>(reply.size());
            }
            if (now >= deadline) {
                ::SetLastError(kErrorTimeout);
                return 0;
            }
            if (auto next = s.printer().nextReplyAt(); next && *next < wakeAt) {
                wakeAt = std::max(*next, now + 1);
            }
        }
        ::Sleep(static_cast<DWORD>(std::min(wakeAt, deadline) - now));
    }
}

void __stdcall CloseUSBPort(qvp::Handle handle) {
    StandIn& s = Instance();
    std::lock_guard lock(s.mutex());
    s.Close(handle);
}

}  // extern "C"

// The exports must have exactly the types the program binds them with.
static_assert(std::is_same_v<decltype(&USBPrintRefresh), qvp::USBPrintRefreshFn>);
static_assert(std::is_same_v<decltype(&GetUSBPrintFileName), qvp::GetUSBPrintFileNameFn>);
static_assert(std::is_same_v<decltype(&GetUSBHWID), qvp::GetUSBHWIDFn>);
static_assert(std::is_same_v<decltype(&OpenPrinterUSBPort), qvp::OpenPrinterUSBPortFn>);
static_assert(std::is_same_v<decltype(&WritePort), qvp::WritePortFn>);
static_assert(std::is_same_v<decltype(&ReadPort), qvp::ReadPortFn>);
static_assert(std::is_same_v<decltype(&CloseUSBPort), qvp::CloseUSBPortFn>);
