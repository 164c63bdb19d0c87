#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "oem_ui.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/thread_state.h"
#include "platform/usb_printer.h"
#include "plugin_fixture.h"
#include "private_devmode.h"

namespace {

namespace dk = driverkit;
using tavrel::PrivateDevMode;

struct Releaser {
    void operator()(tavrel::IOemUI* ui) const { ui->Release(); }
};

class OemUITest : public PluginTest {
protected:
    std::unique_ptr<tavrel::IOemUI, Releaser> ui{new tavrel::IOemUI()};
    std::uint32_t LastError() { return platform::threadState().GetLastError(); }
};

struct GetInfoCase {
    const char* name;
    dk::DWORD mode;
    dk::DWORD bufferSize;  // 0: no buffer
    dk::HRESULT result;
    dk::DWORD lastError;  // checked on failure
    dk::DWORD needed;
    dk::DWORD answer;  // checked on success
};

const GetInfoCase kGetInfoCases[] = {
    {"signature", dk::OEMGI_GETSIGNATURE, 4, dk::S_OK, 0, 4, 0x4D534654},
    {"version", dk::OEMGI_GETVERSION, 8, dk::S_OK, 0, 4, 1},
    {"publisher", dk::OEMGI_GETPUBLISHERINFO, 4, dk::E_FAIL, platform::kErrorNotSupported, 0, 0},
    {"interface version", dk::OEMGI_GETINTERFACEVERSION, 4, dk::E_FAIL, platform::kErrorInvalidParameter, 99, 0},
    {"two-byte buffer", dk::OEMGI_GETSIGNATURE, 2, dk::E_FAIL, platform::kErrorInsufficientBuffer, 4, 0},
    {"no buffer", dk::OEMGI_GETVERSION, 0, dk::E_FAIL, platform::kErrorInsufficientBuffer, 4, 0},
};

TEST_F(OemUITest, GetInfo) {
    for (const auto& c : kGetInfoCases) {
        SCOPED_TRACE(c.name);
        platform::threadState().SetLastError(0);
        std::uint8_t buffer[8] = {};
        dk::DWORD needed = 99;
        EXPECT_EQ(ui->GetInfo(c.mode, c.bufferSize ? buffer : nullptr, c.bufferSize, &needed), c.result);
        EXPECT_EQ(needed, c.needed);
        if (c.result == dk::S_OK) {
            dk::DWORD answer = 0;
            std::memcpy(&answer, buffer, 4);
            EXPECT_EQ(answer, c.answer);
        } else {
            EXPECT_EQ(LastError(), c.lastError);
        }
    }
    EXPECT_EQ(ui->GetInfo(dk::OEMGI_GETVERSION, nullptr, 4, nullptr), dk::E_FAIL);
    EXPECT_EQ(LastError(), platform::kErrorInvalidParameter);
}

TEST_F(OemUITest, QueryColorProfileNamesTheProfileFile) {
    std::uint8_t buffer[40];
    std::memset(buffer, 0xAA, sizeof buffer);
    dk::ULONG size = 30;
    dk::FLONG flags = 0;
    EXPECT_EQ(ui->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, buffer, &size, &flags), dk::E_FAIL);
    EXPECT_EQ(size, 32u);
    EXPECT_EQ(LastError(), platform::kErrorInsufficientBuffer);
    EXPECT_EQ(buffer[0], 0xAA) << "nothing written";

    size = 8;
    EXPECT_EQ(ui->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, nullptr, &size, &flags), dk::E_FAIL);
    EXPECT_EQ(size, 32u);

    size = 32;
    EXPECT_EQ(ui->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, buffer, &size, &flags), dk::S_OK);
    EXPECT_EQ(platform::Utf16LeToWide(buffer, 30), std::wstring(L"OEMPROFILE.icm") + L'\0');
    EXPECT_EQ(size, 32u);
    EXPECT_EQ(flags, dk::QCP_PROFILEDISK);

    size = 40;
    flags = 0;
    EXPECT_EQ(ui->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 1, buffer, &size, &flags), dk::E_FAIL)
        << "only device profiles";
    EXPECT_EQ(size, 40u);
    EXPECT_EQ(flags, 0u);
}

PrivateDevMode Part(dk::DWORD size, dk::DWORD signature, dk::DWORD move, dk::DWORD rate) {
    return {{size, signature, 7}, move, rate};
}

struct DevModeCase {
    const char* name;
    dk::DWORD mode;
    PrivateDevMode in;
    PrivateDevMode out;  // before
    PrivateDevMode want;
};

constexpr dk::DWORD kSig = tavrel::kOemSignature;
const PrivateDevMode kDefaults = {{20, kSig, 1}, 0, 100};

const DevModeCase kDevModeCases[] = {
    {"default", dk::OEMDM_DEFAULT, {}, Part(0, 0, 55, 55), kDefaults},
    {"convert carries the values",
     dk::OEMDM_CONVERT,
     Part(20, kSig, 30, 60),
     Part(20, kSig, 1, 1),
     {{20, kSig, 1}, 30, 60}},
    {"convert keeps out-of-range values",
     dk::OEMDM_CONVERT,
     Part(20, kSig, 101, 250),
     Part(20, kSig, 1, 1),
     {{20, kSig, 1}, 101, 250}},
    {"convert of a 12-byte part gives the defaults", dk::OEMDM_CONVERT, Part(12, kSig, 30, 60), Part(20, kSig, 5, 5),
     kDefaults},
    {"convert of another signature gives the defaults", dk::OEMDM_CONVERT, Part(20, 0x1234, 30, 60),
     Part(20, kSig, 5, 5), kDefaults},
    {"merge puts values in range",
     dk::OEMDM_MERGE,
     Part(20, kSig, 101, 250),
     Part(20, kSig, 0, 0),
     {{20, kSig, 1}, 0, 100}},
    {"merge of another signature gives the defaults", dk::OEMDM_MERGE, Part(20, 0x1234, 30, 60), Part(20, kSig, 5, 5),
     kDefaults},
    // The output's own size bounds the copy: a 16-byte output keeps the default rate.
    {"merge into a smaller output",
     dk::OEMDM_MERGE,
     Part(20, kSig, 40, 60),
     Part(16, kSig, 5, 5),
     {{20, kSig, 1}, 40, 100}},
};

bool operator==(const PrivateDevMode& a, const PrivateDevMode& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(OemUITest, DevModeKeepsThePrivatePart) {
    for (const auto& c : kDevModeCases) {
        SCOPED_TRACE(c.name);
        PrivateDevMode in = c.in;
        PrivateDevMode out = c.out;
        dk::OEMDMPARAM param{};
        param.cbSize = sizeof param;
        param.pOEMDMIn = &in;
        param.pOEMDMOut = &out;
        ASSERT_EQ(ui->DevMode(c.mode, &param), dk::S_OK);
        EXPECT_TRUE(out == c.want) << out.dmExtraHdr.dwSize << " " << out.dwMoveValue << " " << out.dwCompressRate;
    }
}

// Parts that claim more than our 20 bytes (a later layout, or a damaged size): only our 20 are carried.
TEST_F(OemUITest, ConvertCarriesAtMostTwentyBytes) {
    std::uint8_t in[64];
    std::uint8_t out[64];
    std::memset(in, 0x11, sizeof in);
    std::memset(out, 0xEE, sizeof out);
    const PrivateDevMode inHead = Part(64, kSig, 30, 60);
    const PrivateDevMode outHead = Part(64, kSig, 0, 0);
    std::memcpy(in, &inHead, sizeof inHead);
    std::memcpy(out, &outHead, sizeof outHead);
    dk::OEMDMPARAM param{};
    param.pOEMDMIn = in;
    param.pOEMDMOut = out;
    ASSERT_EQ(ui->DevMode(dk::OEMDM_CONVERT, &param), dk::S_OK);
    PrivateDevMode got;
    std::memcpy(&got, out, sizeof got);
    EXPECT_TRUE(got == (PrivateDevMode{{20, kSig, 1}, 30, 60}));
    EXPECT_EQ(std::count(out + 20, out + 64, 0xEE), 44) << "bytes past the part were written";
}

// The driver may pass only one of the two parts; the one it passes is left as it is.
TEST_F(OemUITest, DevModeWithAMissingPartWritesNothing) {
    const PrivateDevMode before = Part(20, kSig, 55, 55);
    struct Case {
        const char* name;
        dk::DWORD mode;
        bool in;
        bool out;
    };
    for (const Case& c : {Case{"default without output", dk::OEMDM_DEFAULT, true, false},
                          Case{"convert without input", dk::OEMDM_CONVERT, false, true},
                          Case{"convert without output", dk::OEMDM_CONVERT, true, false}}) {
        SCOPED_TRACE(c.name);
        PrivateDevMode in = before;
        PrivateDevMode out = before;
        dk::OEMDMPARAM param{};
        param.pOEMDMIn = c.in ? &in : nullptr;
        param.pOEMDMOut = c.out ? &out : nullptr;
        EXPECT_EQ(ui->DevMode(c.mode, &param), dk::S_OK);
        EXPECT_TRUE(in == before && out == before);
    }
}

TEST_F(OemUITest, DevModeSizeAndRefusals) {
    dk::OEMDMPARAM param{};
    ASSERT_EQ(ui->DevMode(dk::OEMDM_SIZE, &param), dk::S_OK);
    EXPECT_EQ(param.cbBufSize, 20u);
    for (dk::DWORD mode : {0u, 5u}) {
        platform::threadState().SetLastError(0);
        EXPECT_EQ(ui->DevMode(mode, &param), dk::E_FAIL);
        EXPECT_EQ(LastError(), platform::kErrorInvalidParameter);
    }
    EXPECT_EQ(ui->DevMode(dk::OEMDM_SIZE, nullptr), dk::E_FAIL);
}

TEST_F(OemUITest, CommonUIPropRecordsTheThreadsPrinterEvenForABadMode) {
    std::wstring first = L"First";
    std::wstring second = L"Second printer";
    dk::OEMCUIPPARAM param{};
    param.pPrinterName = first.data();
    EXPECT_EQ(ui->CommonUIProp(dk::OEMCUIP_PRNPROP, &param), dk::S_OK);
    param.pPrinterName = second.data();
    EXPECT_EQ(ui->CommonUIProp(9, &param), dk::E_FAIL);
    EXPECT_EQ(LastError(), platform::kErrorInvalidParameter);
    std::wstring name;
    EXPECT_EQ(tavrel::GetThreadPrinterName(name), 1);
    EXPECT_EQ(name, second) << "the later call replaced the name";
    EXPECT_EQ(tavrel::ThreadPrinterItems().size(), 1u);
}

TEST_F(OemUITest, TheOperationsWithoutWorkDecline) {
    EXPECT_EQ(ui->DocumentPropertySheets(nullptr, 0), dk::E_FAIL);
    EXPECT_EQ(ui->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr), dk::E_NOTIMPL);
    EXPECT_EQ(ui->DeviceCapabilities(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr),
              dk::E_NOTIMPL);
    EXPECT_EQ(ui->UpgradePrinter(0, nullptr), dk::E_NOTIMPL);
    EXPECT_EQ(ui->PrinterEvent(nullptr, 0, 0, 0), dk::E_NOTIMPL);
    EXPECT_EQ(ui->DriverEvent(0, 0, nullptr, 0), dk::E_NOTIMPL);
    EXPECT_EQ(ui->FontInstallerDlgProc(nullptr, 0, 0, 0), dk::E_NOTIMPL);
    EXPECT_EQ(ui->UpdateExternalFonts(nullptr, nullptr, nullptr), dk::E_NOTIMPL);

    dk::PROPSHEETUI_INFO info{};
    info.Version = 0x0200;
    EXPECT_EQ(ui->DevicePropertySheets(&info, 0), dk::E_FAIL);
    EXPECT_EQ(LastError(), platform::kErrorInvalidParameter);
}

// A sheet that leaves out what a reason needs is refused, never read through.
TEST_F(OemUITest, TheDeviceSheetsRefuseARecordThatIsMissing) {
    struct Case {
        const char* name;
        bool record;
        dk::WORD reason;
        bool callback;
    };
    const Case cases[] = {
        {"no sheet record", false, dk::PROPSHEETUI_REASON_INIT, true},
        {"init without the sheet's callback", true, dk::PROPSHEETUI_REASON_INIT, false},
        {"header without its record", true, dk::PROPSHEETUI_REASON_GET_INFO_HEADER, true},
        {"result without its record", true, dk::PROPSHEETUI_REASON_SET_RESULT, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dk::PROPSHEETUI_INFO info{};
        info.cbSize = sizeof info;
        info.Version = dk::PROPSHEETUI_INFO_VERSION;
        info.Reason = c.reason;
        const dk::PFNCOMPROPSHEET addsAPage = [](dk::HANDLE, dk::UINT, dk::LPARAM, dk::LPARAM) -> dk::LONG_PTR {
            return 1;
        };
        info.pfnComPropSheet = c.callback ? addsAPage : nullptr;
        platform::threadState().SetLastError(0);
        EXPECT_EQ(ui->DevicePropertySheets(c.record ? &info : nullptr, 0), dk::E_FAIL);
        EXPECT_EQ(LastError(), platform::kErrorInvalidParameter);
    }
}

}  // namespace
