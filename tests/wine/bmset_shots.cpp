// The black-mark dialog on real windows: shown for the harness's printer on USB001, it reads the three
// switches through the stand-in port library from a virtual printer (sensing on, mode 0, lock off), checked
// against the labels and the portable layout, and handed over for a screenshot; exits 0, or 1 when a check
// failed, each failure on its own line.
//
// Usage: bmset_shots <model settings file> [--screenshot]
//   (with it: writes bmset.ready in the working folder once the dialog shows, and waits for bmset.shot there;
//    see take_shots.sh)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/forms/forms.h"
#include "uBMset.h"
#include "vprinter/virtual_printer.h"
#include "wine_checks.h"

using namespace platform::forms;
using namespace wine_checks;

namespace {

// The spooler's printer that the harness puts on USB001.
constexpr wchar_t kContractPrinter[] = L"Contract Printer";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bmset_shots <model settings file> [--screenshot]\n");
        return 2;
    }
    const std::wstring schemeFile = platform::Utf8ToWide(argv[1]);
    const bool screenshot = argc > 2 && std::string(argv[2]) == "--screenshot";
    Checks checks;

    // The printer behind the stand-in port library: its state and the log of what it received, in the working
    // folder, named before the library's first call.
    const std::string stateFile = "bmset_printer.state";
    const std::string wireLog = "bmset_wire.bin";
    std::remove(wireLog.c_str());
    vprinter::VirtualPrinter printer(vprinter::makeIdentity("VP-1", "VP0001", 1));
    printer.defineBlackMark(1, 0, 0);
    checks.Expect(printer.saveState(stateFile), "the printer's state is written");
    ::SetEnvironmentVariableA("QVP_RW_STATE", stateFile.c_str());
    ::SetEnvironmentVariableA("QVP_RW_LOG", wireLog.c_str());
    {
        platform::win32::Win32Platform platform;
        platform::win32::Win32Forms& backend = platform.forms();
        std::wstring error;
        checks.Expect(LoadGlobalStrings(L"RESSTRING", &error), "the localisation table loads: " + Narrow(error));

        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(schemeFile);
        g_strPrinterName = kContractPrinter;
        g_byStartPage = pgSingleItem;
        g_byPage = pgSingleItem;

        auto dialog = MakeForm<TBMset>();
        dialog->Show();
        Pump(300);
        checks.Expect(g_strLocalPortFile == L"USB001", "the printer's port is kept: " + Narrow(g_strLocalPortFile));
        checks.Expect(dialog->m_iPrinterItemValue == 100,
                      "the switches read: " + std::to_string(dialog->m_iPrinterItemValue));
        checks.Expect(dialog->lblnBMset->Caption() == L"开" && dialog->lblnBMmode->Caption() == L"模式0" &&
                          dialog->lblnLock->Caption() == L"关",
                      "the state labels show the switches");
        checks.Expect(dialog->btnLock->Enabled() && ::IsWindowEnabled(Hwnd(backend, *dialog->btnLock)),
                      "sensing on: the dependent buttons are enabled");
        checks.Expect(dialog->edtLock->Text() == L"279", "the distance starts from the model's LenLock");
        checks.Expect(ReadAll(wireLog).find("\x1B\x1D\x1E\x05\x03\x03\x24\x4F\x50\x1B\x1D\x1F") != std::string::npos,
                      "the printer received the black-mark read");
        CheckGeometry(checks, backend, *dialog);
        if (screenshot) {
            checks.Expect(HandOverForScreenshot(L"bmset"), "bmset: the screenshot is taken within 30 s");
        }
        dialog->Close();
        Pump(50);
    }
    std::printf("bmset_shots: %d checks, %d failed\n", checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
