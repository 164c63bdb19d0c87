#pragma once
// The fault matrix: every fault the virtual printer can play, against the roads of the program that talk to a
// printer, each run through the program's real entry (and, for the fetch, through the driver's page) with a
// second printer on USB002 that nobody addresses. A case passes when the user sees exactly the boxes that fault
// earns on that road, the exchange folder holds only whole files with what the printer really said, the
// bystander heard nothing, and the run ended within a bounded virtual time.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "driver_page_fixture.h"
#include "platform/sim/usb_printer_sim.h"
#include "platform/text.h"

// The target printer's bus device, which can have something happen right after a given command reached the
// printer: a fault that strikes in the middle of a road, or the printer pulled out between a command and its
// reply.
class TargetDevice : public platform::sim::SimUsbDevice {
public:
    TargetDevice(platform::sim::SimUsbBus& bus, platform::sim::SimUsbDevice& inner) : bus_(bus), inner_(inner) {}

    // act runs on the writing thread once n more commands have reached the printer.
    void AfterWrites(std::size_t n, std::function<void()> act) {
        std::lock_guard lock(mutex_);
        writesLeft_ = n;
        act_ = std::move(act);
    }
    void UnplugAfterNextWrite() {
        AfterWrites(1, [this] { bus_.Unplug(*this); });
    }

    std::string DevicePath() const override { return inner_.DevicePath(); }
    std::string PortName() const override { return inner_.PortName(); }
    std::string DeviceId() const override { return inner_.DeviceId(); }
    bool CanOpen() const override { return inner_.CanOpen(); }
    std::size_t Write(const std::uint8_t* data, std::size_t n, std::uint64_t nowMs) override {
        const std::size_t taken = inner_.Write(data, n, nowMs);
        std::function<void()> act;
        {
            std::lock_guard lock(mutex_);
            if (act_ && --writesLeft_ == 0) {
                act = std::move(act_);
                act_ = nullptr;
            }
        }
        // Outside the lock: the act may arm the next one.
        if (act) {
            act();
        }
        return taken;
    }
    platform::Bytes Read(std::size_t max, std::uint64_t nowMs) override { return inner_.Read(max, nowMs); }
    std::optional<std::uint64_t> NextReplyAt() const override { return inner_.NextReplyAt(); }
    std::uint8_t StatusByte() const override { return inner_.StatusByte(); }

private:
    platform::sim::SimUsbBus& bus_;
    platform::sim::SimUsbDevice& inner_;
    std::mutex mutex_;
    std::size_t writesLeft_ = 0;
    std::function<void()> act_;
};

enum class Fault {
    NoReply,
    ReplyInPieces,
    GarbageReply,
    OversizedReply,
    BadCrc,
    ZeroMenuLength,
    OversizedMenuLength,
    CorruptZlib,
    BusyStatus,
    UnpluggedMidExchange,
};

inline constexpr Fault kAllFaults[] = {
    Fault::NoReply,    Fault::ReplyInPieces,        Fault::GarbageReply,        Fault::OversizedReply,
    Fault::BadCrc,     Fault::ZeroMenuLength,       Fault::OversizedMenuLength, Fault::CorruptZlib,
    Fault::BusyStatus, Fault::UnpluggedMidExchange,
};

inline const char* Name(Fault f) {
    switch (f) {
        case Fault::NoReply:
            return "NoReply";
        case Fault::ReplyInPieces:
            return "ReplyInPieces";
        case Fault::GarbageReply:
            return "GarbageReply";
        case Fault::OversizedReply:
            return "OversizedReply";
        case Fault::BadCrc:
            return "BadCrc";
        case Fault::ZeroMenuLength:
            return "ZeroMenuLength";
        case Fault::OversizedMenuLength:
            return "OversizedMenuLength";
        case Fault::CorruptZlib:
            return "CorruptZlib";
        case Fault::BusyStatus:
            return "BusyStatus";
        case Fault::UnpluggedMidExchange:
            return "UnpluggedMidExchange";
    }
    return "?";
}

// Faults that only the menu fetch's replies can carry: the model query's CRC, the menu's length field and its
// zlib stream.
inline bool MenuOnly(Fault f) {
    return f == Fault::BadCrc || f == Fault::ZeroMenuLength || f == Fault::OversizedMenuLength ||
           f == Fault::CorruptZlib;
}

// Faults that shape a reply; a road that reads none cannot meet them.
inline bool ShapesAReply(Fault f) {
    return f == Fault::NoReply || f == Fault::ReplyInPieces || f == Fault::GarbageReply || f == Fault::OversizedReply ||
           MenuOnly(f);
}

// Faults a reading road rides out: the worker hands a reply over from its frame head, behind any garbage; no
// read asks for more than its buffer holds, so padding beyond it is never taken. A reply in pieces is no such
// fault: only a drained exchange (the model query) reads on after its first read, every other read takes the
// first piece.
inline bool HarmlessToAReply(Fault f) {
    return f == Fault::GarbageReply || f == Fault::OversizedReply;
}

class FaultMatrixTest : public DriverPageTest {
protected:
    void SetUp() override {
        DriverPageTest::SetUp();
        // The target goes back on the bus behind a device that can pull it out mid-exchange; the bystander,
        // plugged after it, holds the same items and menu, so that a command sent to it would be answered.
        platform::sim::SimUsbDevice& device = usb.DeviceOf(*printer);
        ASSERT_TRUE(sim.usbBus().Unplug(device));
        target = std::make_shared<TargetDevice>(sim.usbBus(), device);
        sim.usbBus().Plug(target);
        bystander = &usb.Plug(vprinter::makeIdentity("WQ-472", "SN0002", 2));
        bystander->defineItemsFromMenu(impactModel);
        bystander->setMenuFile(impactModel);
        sim.messageBoxes().AnswerAnyBox();
    }
    void TearDown() override {
        if (bystander) {
            EXPECT_TRUE(bystander->writes().empty()) << "the bystander was addressed";
            EXPECT_TRUE(bystander->jobs().empty()) << "a job reached the bystander";
        }
        // The longest wait the program prescribes is a head change's 120 s; a hang shows far beyond it.
        EXPECT_LT(Now(), 300000u) << "virtual milliseconds";
        DriverPageTest::TearDown();
    }

    void Inject(Fault f) {
        vprinter::Faults& faults = printer->faults();
        switch (f) {
            case Fault::NoReply:
                faults.noReply = true;
                break;
            case Fault::ReplyInPieces:
                faults.replyChunk = 5;
                faults.replyChunkGapMs = 20;
                break;
            case Fault::GarbageReply:
                faults.garbageBeforeFrame = Hex("00 FF 1B 1D 41 42");
                break;
            case Fault::OversizedReply:
                faults.padReplyTo = 40000;
                break;
            case Fault::BadCrc:
                faults.wrongCrc = true;
                break;
            case Fault::ZeroMenuLength:
                faults.menuLengthOverride = 0;
                break;
            case Fault::OversizedMenuLength:
                faults.menuLengthOverride = 40000;
                break;
            case Fault::CorruptZlib:
                faults.corruptMenuStream = true;
                break;
            case Fault::BusyStatus:
                faults.statusByte = 0x1F;
                break;
            case Fault::UnpluggedMidExchange:
                target->UnplugAfterNextWrite();
                break;
        }
    }

    // The files in the exchange folder, by their names there.
    std::vector<std::wstring> ExchangeFiles() {
        std::vector<std::wstring> out;
        for (const std::wstring& path : sim.files().ListFiles()) {
            // The model file the exchange fixture leaves there is no file of the program's.
            if (platform::StartsText(path, exchangeFolder) && !platform::SameText(path, kMenuFile)) {
                out.push_back(path.substr(exchangeFolder.size()));
            }
        }
        return out;
    }
    const std::wstring valuesFile = kPrinter;
    const std::wstring menuFile = std::wstring(kPrinter) + L".DAT";
    const std::wstring stateFile = std::wstring(kPrinter) + L".ini";

    // Every box shown, as "text | caption".
    std::vector<std::wstring> Boxes() {
        std::vector<std::wstring> out;
        for (const auto& box : sim.messageBoxes().Shown()) {
            out.push_back(Boxed(box.text, box.caption));
        }
        return out;
    }
    static std::wstring Boxed(const std::wstring& text, const std::wstring& caption) { return text + L" | " + caption; }

    std::wstring Value(int key) {
        return platform::IniFile(ValuesFile()).ReadString(L"CurrentValues", std::to_wstring(key), L"<none>");
    }

    std::shared_ptr<TargetDevice> target;
    vprinter::VirtualPrinter* bystander = nullptr;
};

// One case of a matrix: a fault against an operation of a file's own table, named "Operation_Fault".
template <class Operation>
struct MatrixCase {
    Fault fault;
    Operation op;
};

template <class Operation>
void PrintTo(const MatrixCase<Operation>& c, std::ostream* os) {
    *os << Name(c.op) << "_" << Name(c.fault);
}

template <class Operation>
std::string MatrixCaseName(const ::testing::TestParamInfo<MatrixCase<Operation>>& info) {
    return std::string(Name(info.param.op)) + "_" + Name(info.param.fault);
}

// Every fault against every operation, but for the pairs leftOut refuses (each file says why).
template <class Operation, std::size_t N>
std::vector<MatrixCase<Operation>> CrossProduct(const Operation (&ops)[N], bool (*leftOut)(Fault, Operation)) {
    std::vector<MatrixCase<Operation>> out;
    for (const Operation op : ops) {
        for (const Fault f : kAllFaults) {
            if (!leftOut(f, op)) {
                out.push_back({f, op});
            }
        }
    }
    return out;
}
