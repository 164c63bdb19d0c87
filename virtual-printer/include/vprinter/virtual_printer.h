#pragma once
// An emulated printer on the far side of the USB wire. It decodes the command frames that reach it and
// answers them itself, so that tests, the demo and the sim's port library, class driver and spooler can talk
// to a printer that shares no code with the program.
//
// Time-passive: every call that depends on time takes the caller's virtual time in milliseconds; the
// emulator never sleeps and never reads a clock. Thread-safe: all calls take one internal lock, so the
// program's worker thread can talk to it while a test thread inspects it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vprinter {

using Bytes = std::vector<std::uint8_t>;

struct Identity {
    std::string devicePath;  // "\\?\usb#vid_XXXX&pid_YYYY#SERIAL#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"
    std::string portName;    // spooler port, e.g. "USB001"
    std::string deviceId;    // IEEE 1284 id, e.g. "MFG:Varintex;MDL:WQ-472;CMD:ESC;" (may lack MDL:)
    // The SERIAL part of devicePath: the text between its second and third "#"; empty when there is none.
    std::string serial() const;
};

// A typical identity: vendor and product id of the maker's printers in the device path, port "USB%03d", and
// a device id with (or, for tests of unlisted devices, without) the model's MDL entry.
Identity makeIdentity(std::string model, std::string serial, int portNumber, bool withMdl = true);

// The most padding a state file may ask for: the program's largest read (32768 bytes) and a frame's worth
// (the longest frame the printer looks for) more, which overflows any of its reply buffers.
inline constexpr std::size_t kMaxPadReplyTo = 32768 + 4096;

// Every fault is off by default and switchable per test. Tests change them through faults() while the
// program under test is not talking to the printer (the reference is not guarded by the lock).
struct Faults {
    // Opening the port or device path fails; writes and reads do nothing.
    bool unplugged = false;
    // Commands are swallowed unprocessed (the writes are still recorded); reads time out.
    bool noReply = false;
    // A reply is readable only this long after the command arrived.
    std::uint32_t replyDelayMs = 0;
    // >0: a reply comes in pieces of this size, one piece per read, each replyChunkGapMs after the one before.
    std::size_t replyChunk = 0;
    std::uint32_t replyChunkGapMs = 0;
    // Bytes put before every reply's frame head.
    Bytes garbageBeforeFrame;
    // >0: every reply is padded with zero bytes up to this length (32768 and more overflow a reply buffer).
    std::size_t padReplyTo = 0;
    // The model reply carries a wrong CRC-32.
    bool wrongCrc = false;
    // The menu length that the menu reply declares (e.g. 0 or 40000), whatever it sends.
    std::optional<std::uint32_t> menuLengthOverride;
    // The menu's zlib data are damaged so that inflating them fails.
    bool corruptMenuStream = false;
    // The menu's zlib stream is cut short; the container still declares the whole menu.
    bool truncateMenuStream = false;
    // A write takes at most this many bytes.
    std::optional<std::size_t> shortWrite;
    // The menu reply brings the length head first and its data only after the head has been read.
    bool menuInSecondRead = false;
    // Answer to the class driver's status request (0x1F: busy, not ready).
    std::uint8_t statusByte = 0x18;

    friend bool operator==(const Faults&, const Faults&) = default;
};

// How the printer names one setting. Value reads and value replies name an item by one code byte (`get`);
// its set frame opens with a class byte and a code byte of its own (`setClass`, `set`), which need not equal
// the read code. The single-byte form is the common case: class 04, the same code for reading and setting.
struct ItemCode {
    std::uint8_t get = 0;
    std::uint8_t setClass = 0x04;
    std::uint8_t set = 0;

    constexpr ItemCode() = default;
    constexpr ItemCode(std::uint8_t code) : get(code), set(code) {}  // NOLINT(google-explicit-constructor)
    constexpr ItemCode(std::uint8_t getCode, std::uint8_t setClassByte, std::uint8_t setCode)
        : get(getCode), setClass(setClassByte), set(setCode) {}

    // From a menu entry's "GetInstruction" and "SetInstruction" texts, e.g. "24" and "1B 1D 1E 04 24" (the
    // frame head is optional). nullopt unless the first names exactly one byte and the second exactly two.
    static std::optional<ItemCode> fromMenuTexts(std::string_view getInstruction, std::string_view setInstruction);

    friend bool operator==(const ItemCode&, const ItemCode&) = default;
};

// The black-mark switches: items of one byte (0 off, 1 on; the mode 0 or 1), each read by its own code and
// set by a frame of its own.
inline constexpr ItemCode kBlackMarkSensing{0x24, 0x02, 0x0C};
inline constexpr ItemCode kBlackMarkMode{0x4F, 0x04, 0x22};
inline constexpr ItemCode kBlackMarkLock{0x50, 0x04, 0x25};

// One step of a scripted conversation: the command the printer expects next, named by its command-log line
// ("model query", "read 0C items", "menu request"), and the reply it sends for it instead of its own, in
// segments as a reply of several parts (each readable only once the one before has been read); no segments,
// no reply.
struct ScriptStep {
    std::string command;
    std::vector<Bytes> reply;
};

class VirtualPrinter {
public:
    explicit VirtualPrinter(Identity id);
    ~VirtualPrinter();
    VirtualPrinter(const VirtualPrinter&) = delete;
    VirtualPrinter& operator=(const VirtualPrinter&) = delete;

    const Identity& identity() const;
    Faults& faults();
    bool canOpen() const;

    // Host -> printer. Returns the count accepted (all of it unless shortWrite is set; 0 when unplugged) and
    // processes every command that is complete; a command cut between two writes is completed by the next.
    std::size_t hostWrite(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs);
    // A raw print job (spooler): logged as a job; its bytes are processed as commands too, as one whole.
    void hostPrintJob(const std::wstring& docName, const Bytes& data, std::uint64_t nowMs);
    // Printer -> host: up to max reply bytes readable at nowMs, removed from the outgoing queue.
    Bytes hostRead(std::size_t max, std::uint64_t nowMs);
    // Earliest virtual time at which (more) reply bytes become readable (possibly already past); nullopt when
    // nothing is pending.
    std::optional<std::uint64_t> nextReplyAt() const;
    std::uint8_t statusByte() const;
    // What a port drain or cancel does: every reply not yet read is dropped.
    void discardPendingReplies();

    // Settings store. Values are kept as the bytes the wire carries for the item's width (1, 2 or 3), so a
    // read answers exactly what was set. defineItem replaces an item with the same read or set code and
    // returns false (defining nothing) for a width other than 1, 2 or 3.
    bool defineItem(ItemCode code, int width, std::int32_t value);
    std::optional<std::int32_t> itemValue(ItemCode code) const;
    bool inSettingsMode() const;
    // Defines every item of a menu definition (its "GetInstruction", "SetInstruction", "ParameterCount" and
    // "Default" keys) and returns how many; sections that name no single read code and set frame are passed
    // over. The menu itself is not served by this: that is setMenuFile's job.
    std::size_t defineItemsFromMenu(const Bytes& menuFileBytes);

    // Fits the black-mark switches (replacing any items on their codes). Whether or not they are fitted, the
    // printer takes the tear distance frame 04 24 (unless an item is defined on it) and the print start offset.
    void defineBlackMark(std::uint8_t sensing, std::uint8_t mode, std::uint8_t lock);
    // In 1/144 inch as the last saved tear distance frame carried it (high byte first) and as the last print
    // start offset carried it (low byte first); nullopt until one came.
    std::optional<std::uint16_t> tearDistance() const;
    std::optional<std::uint16_t> printStartOffset() const;

    // The length of the page in the printer, in 1/60 inch: what the next page length measurement finds.
    void setPageLength(std::uint16_t sixtieths);

    // The ink printer's values outside the menu. Alignment by resolution code (0 300 dpi, 1 600 dpi, 2 1200
    // dpi; another code is ignored, and reads as 0), as a signed step; the drying time in units of 10 ms.
    void setAlignment(int resolution, std::int8_t value);
    std::int8_t alignment(int resolution) const;
    void setDryingTime(std::uint16_t time);
    std::uint16_t dryingTime() const;
    void setPageCount(std::uint32_t pages);
    void setInkLevel(std::uint8_t percent);

    void setModelName(std::string name);    // reported by the model query; the device id's MDL by default
    void setMenuFile(Bytes menuFileBytes);  // the plain menu definition; empty means the printer holds none

    // A scripted conversation, for replies that the printer would never make of itself (cut, oddly placed or
    // damaged ones). While steps are queued, each command is matched against the first: when its command-log
    // line is the step's command, the printer acts on it as always but sends the step's reply, shaped by the
    // reply faults, in place of its own, and the step is done. Any other command is acted on, answered with
    // nothing and logged as "unexpected " + its line; the step stays queued. Steps are appended to those
    // still queued; saveState does not keep them.
    void script(std::vector<ScriptStep> steps);
    // Steps not yet played.
    std::size_t scriptLeft() const;

    std::vector<Bytes> writes() const;  // every write received (the accepted bytes), in order
    struct PrintJob {
        std::wstring docName;
        Bytes data;
    };
    std::vector<PrintJob> jobs() const;
    // One line per decoded command, e.g. "enter", "set 1D=03", "save", "read 0C items", "model query",
    // "menu request", "tear distance 07 38", "print start offset 39 00"; "malformed ..." and "unknown ..." with
    // the first bytes in hex; "data N bytes" for a run of bytes outside any frame (print data).
    std::vector<std::string> commandLog() const;

    // Items, model name, menu and faults in a small text file, so that several processes can share one
    // printer. Saving replaces the file as a whole; loading a missing or damaged file returns false and
    // changes nothing.
    bool saveState(const std::string& path) const;
    bool loadState(const std::string& path);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vprinter
