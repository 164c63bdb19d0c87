#pragma once
// The printer's whole state and its reaction to bytes, without locking; VirtualPrinter wraps it in its lock.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "black_mark.h"
#include "ink_values.h"
#include "item_store.h"
#include "reply_queue.h"
#include "vprinter/virtual_printer.h"

namespace vprinter {

struct PrinterCore {
    explicit PrinterCore(Identity id);

    // Runs every complete command at the front of `stream` and removes what it ran; an incomplete command
    // stays for the bytes that complete it.
    void run(Bytes& stream, std::uint64_t nowMs);
    // What is left of a stream that will get no more bytes.
    void flush(Bytes& stream);
    // Queues a reply of one or more segments, shaped by the reply faults.
    void reply(std::vector<Bytes> segments, std::uint64_t nowMs);
    void note(std::string line);
    // The menu container as the menu faults want it sent.
    Bytes menuContainer() const;
    // After a command has run with its own replies held back: plays the first script step when the line
    // the command logged from `logged` on is the step's command, else marks that line unexpected.
    void followScript(std::size_t logged, std::uint64_t nowMs);

    const Identity identity;
    Faults faults;
    ItemStore items;
    InkValues ink;
    std::string modelName;
    Bytes menuFile;
    Bytes container;
    ReplyQueue replies;
    Bytes hostStream;
    std::vector<Bytes> writes;
    std::vector<VirtualPrinter::PrintJob> jobs;
    std::vector<std::string> log;
    std::deque<ScriptStep> script;
    // The page length measurement: the length of the page in the printer (what a measurement finds), the
    // length the last finished measurement found, and the one still under way with the time it ends.
    std::uint16_t pageLength = 0;
    std::uint16_t measuredLength = 0;
    std::optional<std::uint16_t> measuring;
    std::uint64_t measuringEndsAt = 0;
    BlackMarkState blackMark;
    // Set while a scripted command runs: the printer's own reply is dropped.
    bool ownRepliesHeld = false;

private:
    // A run of bytes outside any frame: a receipt command at its start, print data after it.
    void runData(const std::uint8_t* data, std::size_t n);
    void noteData(std::size_t n);
    bool lastWasData_ = false;
    std::size_t dataRun_ = 0;
};

// The hex of a command for the log: its first bytes, then " ..." when there are more.
std::string commandText(const std::uint8_t* data, std::size_t n);

}  // namespace vprinter
