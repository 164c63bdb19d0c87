#include "vprinter/virtual_printer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "frame_splitter.h"
#include "hex.h"
#include "menu_container.h"
#include "menu_items.h"
#include "printer_core.h"
#include "state_file.h"

namespace vprinter {

std::optional<ItemCode> ItemCode::fromMenuTexts(std::string_view getInstruction, std::string_view setInstruction) {
    const auto get = parseHex(getInstruction);
    auto set = parseHex(setInstruction);
    if (!get || !set || get->size() != 1) {
        return std::nullopt;
    }
    if (set->size() >= 3 && std::equal(set->begin(), set->begin() + 3, std::begin(kFrameHead))) {
        set->erase(set->begin(), set->begin() + 3);
    }
    if (set->size() != 2) {
        return std::nullopt;
    }
    return ItemCode((*get)[0], (*set)[0], (*set)[1]);
}

struct VirtualPrinter::Impl {
    explicit Impl(Identity id) : core(std::move(id)) {}
    mutable std::mutex mutex;
    PrinterCore core;
};

VirtualPrinter::VirtualPrinter(Identity id) : impl_(std::make_unique<Impl>(std::move(id))) {}

VirtualPrinter::~VirtualPrinter() = default;

const Identity& VirtualPrinter::identity() const {
    // Fixed at construction, so it needs no lock.
    return impl_->core.identity;
}

Faults& VirtualPrinter::faults() {
    return impl_->core.faults;
}

bool VirtualPrinter::canOpen() const {
    std::lock_guard lock(impl_->mutex);
    return !impl_->core.faults.unplugged;
}

std::size_t VirtualPrinter::hostWrite(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) {
    std::lock_guard lock(impl_->mutex);
    PrinterCore& core = impl_->core;
    if (core.faults.unplugged || (n > 0 && !data)) {
        return 0;
    }
    const std::size_t accepted = core.faults.shortWrite ? std::min(n, *core.faults.shortWrite) : n;
    core.writes.emplace_back(data, data + accepted);
    if (core.faults.noReply) {
        return accepted;
    }
    core.hostStream.insert(core.hostStream.end(), data, data + accepted);
    core.run(core.hostStream, nowMs);
    return accepted;
}

void VirtualPrinter::hostPrintJob(const std::wstring& docName, const Bytes& data, std::uint64_t nowMs) {
    std::lock_guard lock(impl_->mutex);
    PrinterCore& core = impl_->core;
    core.jobs.push_back({docName, data});
    if (core.faults.noReply) {
        return;
    }
    // A job is a whole of its own: it neither completes nor is completed by bytes written to the port.
    Bytes stream = data;
    core.run(stream, nowMs);
    core.flush(stream);
}

Bytes VirtualPrinter::hostRead(std::size_t max, std::uint64_t nowMs) {
    std::lock_guard lock(impl_->mutex);
    if (impl_->core.faults.unplugged) {
        return {};
    }
    return impl_->core.replies.read(max, nowMs);
}

std::optional<std::uint64_t> VirtualPrinter::nextReplyAt() const {
    std::lock_guard lock(impl_->mutex);
    if (impl_->core.faults.unplugged) {
        return std::nullopt;
    }
    return impl_->core.replies.nextReadyAt();
}

std::uint8_t VirtualPrinter::statusByte() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.faults.statusByte;
}

void VirtualPrinter::discardPendingReplies() {
    std::lock_guard lock(impl_->mutex);
    impl_->core.replies.clear();
}

bool VirtualPrinter::defineItem(ItemCode code, int width, std::int32_t value) {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.items.define(code, width, value);
}

std::optional<std::int32_t> VirtualPrinter::itemValue(ItemCode code) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.items.value(code);
}

std::size_t VirtualPrinter::defineItemsFromMenu(const Bytes& menuFileBytes) {
    const std::vector<MenuItem> items = itemsFromMenu(menuFileBytes);
    std::lock_guard lock(impl_->mutex);
    for (const MenuItem& item : items) {
        impl_->core.items.define(item.code, item.width, item.value);
    }
    return items.size();
}

bool VirtualPrinter::inSettingsMode() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.items.inSettingsMode();
}

void VirtualPrinter::defineBlackMark(std::uint8_t sensing, std::uint8_t mode, std::uint8_t lock) {
    std::lock_guard guard(impl_->mutex);
    ItemStore& items = impl_->core.items;
    items.define(kBlackMarkSensing, 1, sensing);
    items.define(kBlackMarkMode, 1, mode);
    items.define(kBlackMarkLock, 1, lock);
}

std::optional<std::uint16_t> VirtualPrinter::tearDistance() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.blackMark.tearDistance;
}

std::optional<std::uint16_t> VirtualPrinter::printStartOffset() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.blackMark.printStartOffset;
}

void VirtualPrinter::setPageLength(std::uint16_t sixtieths) {
    std::lock_guard lock(impl_->mutex);
    impl_->core.pageLength = sixtieths;
}

void VirtualPrinter::setAlignment(int resolution, std::int8_t value) {
    std::lock_guard lock(impl_->mutex);
    if (resolution >= 0 && static_cast<std::size_t>(resolution) < kAlignmentResolutions) {
        impl_->core.ink.alignment[static_cast<std::size_t>(resolution)] = static_cast<std::uint8_t>(value);
    }
}

std::int8_t VirtualPrinter::alignment(int resolution) const {
    std::lock_guard lock(impl_->mutex);
    if (resolution < 0 || static_cast<std::size_t>(resolution) >= kAlignmentResolutions) {
        return 0;
    }
    return static_cast<std::int8_t>(impl_->core.ink.alignment[static_cast<std::size_t>(resolution)]);
}

void VirtualPrinter::setDryingTime(std::uint16_t time) {
    std::lock_guard lock(impl_->mutex);
    impl_->core.ink.dryingTime = time;
}

std::uint16_t VirtualPrinter::dryingTime() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.ink.dryingTime;
}

void VirtualPrinter::setPageCount(std::uint32_t pages) {
    std::lock_guard lock(impl_->mutex);
    impl_->core.ink.pageCount = pages;
}

void VirtualPrinter::setInkLevel(std::uint8_t percent) {
    std::lock_guard lock(impl_->mutex);
    impl_->core.ink.inkLevel = percent;
}

void VirtualPrinter::setModelName(std::string name) {
    std::lock_guard lock(impl_->mutex);
    impl_->core.modelName = std::move(name);
}

void VirtualPrinter::setMenuFile(Bytes menuFileBytes) {
    std::lock_guard lock(impl_->mutex);
    impl_->core.container = buildMenuContainer(menuFileBytes);
    impl_->core.menuFile = std::move(menuFileBytes);
}

void VirtualPrinter::script(std::vector<ScriptStep> steps) {
    std::lock_guard lock(impl_->mutex);
    for (ScriptStep& step : steps) {
        impl_->core.script.push_back(std::move(step));
    }
}

std::size_t VirtualPrinter::scriptLeft() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.script.size();
}

std::vector<Bytes> VirtualPrinter::writes() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.writes;
}

std::vector<VirtualPrinter::PrintJob> VirtualPrinter::jobs() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.jobs;
}

std::vector<std::string> VirtualPrinter::commandLog() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->core.log;
}

bool VirtualPrinter::saveState(const std::string& path) const {
    std::string text;
    {
        std::lock_guard lock(impl_->mutex);
        const PrinterCore& core = impl_->core;
        text = writeState({core.items.all(), core.modelName, core.menuFile, core.faults});
    }
    // Written aside and renamed over the old file, so that a process loading it never sees half a state.
    const std::filesystem::path target(path);
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out << text;
        if (!out.flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool VirtualPrinter::loadState(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    auto state = readState(buffer.str());
    if (!state) {
        return false;
    }
    std::lock_guard lock(impl_->mutex);
    PrinterCore& core = impl_->core;
    core.items.clear();
    for (const StoredItem& item : state->items) {
        core.items.defineRaw(item.code, item.width, item.raw);
    }
    core.modelName = std::move(state->modelName);
    core.container = buildMenuContainer(state->menuFile);
    core.menuFile = std::move(state->menuFile);
    core.faults = std::move(state->faults);
    return true;
}

}  // namespace vprinter
