#pragma once
// The printer-link tests' fixture: a fresh sim with virtual printers on its USB bus, a stand-in for the
// settings model that the worker reports to, and a few helpers for bytes and exchanges.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hex_bytes.h"
#include "RWPrinterModel.h"
#include "ThreadRWPrinter.h"
#include "platform/types.h"
#include "sim_fixture.h"
#include "virtual_usb.h"
#include "vprinter/virtual_printer.h"

// The model's two answers to the worker, as the real model will give them.
class StandInModel : public TRWPrinterModel {
public:
    std::int32_t ReadOnLastFail() const override { return readOnLastFail; }
    void SetAffirmReadDisableStatus(bool bStatus) override { affirmReadDisable = bStatus; }

    std::int32_t readOnLastFail = 1;
    bool affirmReadDisable = false;
};

class LinkTest : public SimTest {
protected:
    void SetUp() override { SetRWPrinterModel(&model); }

    static platform::Bytes Hex(const std::string& text) { return HexBytes(text); }

    static vprinter::Identity IdentityWithId(const std::string& deviceId, const std::string& serial, int port) {
        vprinter::Identity id = vprinter::makeIdentity("WQ-472", serial, port);
        id.deviceId = deviceId;
        return id;
    }

    // Runs a worker the way the model does: start it, then poll every 50 ms until it has finished.
    bool Run(TRWPrinter& worker) {
        worker.Start();
        while (!worker.Finished()) {
            sim.clock().Sleep(50);
        }
        return worker.m_bResult;
    }

    std::uint64_t Now() { return sim.clock().Elapsed(); }

    StandInModel model;
    VirtualUsbPrinters usb{sim};
};
