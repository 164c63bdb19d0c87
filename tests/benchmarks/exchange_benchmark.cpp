// What one printer exchange costs the program itself, apart from the waits it is told to make: a read of the
// whole base page and a menu fetch of the ink printer's sample menu, against the virtual printer with no reply
// delay, in virtual time.
//
// Counters, per iteration:
//   ui_cpu_us        CPU time of the user-interface thread (building the command, polling, decoding, writing)
//   process_cpu_us   CPU time of the whole process: the worker thread too, and the sim and virtual printer
//                    that stand in for Windows and the printer, so an upper bound of the program's share
//   virtual_ms       virtual time that passed: the waits the program is told to make (read waits, drain,
//                    time-outs of the reads that end a reply, the pause before the menu request, polling)
//   *_per_exchange   the same divided by the exchanges of one iteration
//   ui_cpu_pct_of_virtual  (nozzle check only) the program's CPU time next to the pauses it is told to make
//                    between the print job's pieces, in percent: the job must not take noticeably longer than
//                    its pauses (below 2)

#include <benchmark/benchmark.h>
#include <time.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "PageCodes.h"
#include "PubLib/USBPrinterPort.h"
#include "Scheme.h"
#include "ThreadRWPrinter.h"
#include "kCorventaResources.h"
#include "platform/sim/sim_platform.h"
#include "virtual_usb.h"
#include "vprinter/virtual_printer.h"

namespace {

constexpr wchar_t kPrinter[] = L"Varintex WJ-610";

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

platform::Bytes ReadSample(const char* name) {
    std::ifstream in(std::string(CORVENTA_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return platform::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The ink printer as the program meets it after start-up: its model settings file and menu loaded, its queue
// on the USB port of a virtual printer that holds the same menu and the menu's default values.
class Rig {
public:
    Rig() {
        const std::wstring folder = sim.files().TempFolder() + L"Varintex Printer\\";
        sim.files().ForceDirectories(folder);
        const std::wstring settingsFile = folder + L"WJ-610_Settings.Dat";
        const std::wstring menuFile = folder + L"WJ-610_Menu.Dat";
        sim.files().WriteWholeFile(settingsFile, ReadSample("WJ-610_Settings.Dat"));
        const platform::Bytes menu = ReadSample("WJ-610_Menu.Dat");
        sim.files().WriteWholeFile(menuFile, menu);

        g_strPrinterName = kPrinter;
        g_strPrinterPath = folder + kPrinter;
        g_strPrinterIni = g_strPrinterPath + L".ini";
        g_SchemeOptions = std::make_unique<TSchemeOptions2>();
        g_SchemeOptions->LoadFromFile(settingsFile);
        g_SchemeOptions->LoadPrinterMenu(menuFile);

        printer = &usb.PlugWithQueue(vprinter::makeIdentity("WJ-610", "SN0610", 1), kPrinter, L"Varintex WJ-610");
        printer->defineItemsFromMenu(menu);
        printer->setMenuFile(menu);
    }
    ~Rig() {
        ResetSchemeGlobals();
        ResetPrinterLinkGlobals();
    }

    platform::sim::SimPlatform sim;
    VirtualUsbPrinters usb{sim};
    vprinter::VirtualPrinter* printer = nullptr;
};

template <class Exchange>
void Measure(benchmark::State& state, Rig& rig, int exchanges, Exchange exchange) {
    double uiCpu = 0;
    double processCpu = 0;
    double virtualMs = 0;
    for (auto _ : state) {
        const double ui0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double process0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const std::uint64_t virtual0 = rig.sim.clock().Elapsed();
        const bool ok = exchange();
        uiCpu += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - ui0;
        processCpu += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0;
        virtualMs += static_cast<double>(rig.sim.clock().Elapsed() - virtual0);
        if (!ok) {
            state.SkipWithError("the exchange failed");
            return;
        }
    }
    using benchmark::Counter;
    state.counters["ui_cpu_us"] = Counter(uiCpu * 1e6, Counter::kAvgIterations);
    state.counters["process_cpu_us"] = Counter(processCpu * 1e6, Counter::kAvgIterations);
    state.counters["virtual_ms"] = Counter(virtualMs, Counter::kAvgIterations);
    state.counters["ui_cpu_us_per_exchange"] = Counter(uiCpu * 1e6 / exchanges, Counter::kAvgIterations);
    state.counters["process_cpu_us_per_exchange"] = Counter(processCpu * 1e6 / exchanges, Counter::kAvgIterations);
    state.counters["virtual_ms_per_exchange"] = Counter(virtualMs / exchanges, Counter::kAvgIterations);
}

void BM_BasePageRead(benchmark::State& state) {
    Rig rig;
    Measure(state, rig, 1, [] { return g_SchemeOptions->GetPrinterValues_ForPage(0, pgBase); });
    if (g_SchemeOptions->GetItem(pgBase, 0).ValueCurrent == kNoPrinterValue) {
        state.SkipWithError("the page read decoded no value");
    }
}
BENCHMARK(BM_BasePageRead)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_MenuFetch(benchmark::State& state) {
    Rig rig;
    // The model query and the menu request.
    Measure(state, rig, 2, [] { return g_SchemeOptions->GetPrinterMenuResources(); });
}
BENCHMARK(BM_MenuFetch)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

// The larger nozzle-check print job, sent as the item dialog sends it: the printer's device in pieces of 4096
// bytes with a pause of 10 ms after each.
void BM_NozzleCheckJob(benchmark::State& state) {
    Rig rig;
    rig.sim.resources().AddTable(kCorventaResources, kCorventaResourcesCount);
    const std::optional<platform::Bytes> job =
        rig.sim.resources().Find(L"HoleCheck1541", platform::ResourceType::RCData);
    if (!job) {
        state.SkipWithError("the print job is not embedded");
        return;
    }
    const auto size = static_cast<std::uint32_t>(job->size());
    const int pieces = static_cast<int>((size + 4095) / 4096);
    Measure(state, rig, pieces, [&] {
        TUSBPrinterPort port(true);
        return port.WriteData(0, job->data(), size) == static_cast<std::int32_t>(size);
    });
    const double uiCpuUs = state.counters["ui_cpu_us"].value;
    const double virtualMs = state.counters["virtual_ms"].value;
    state.counters["ui_cpu_pct_of_virtual"] = virtualMs > 0 ? uiCpuUs / (virtualMs * 1000) * 100 : 0;
}
// The printer keeps every byte it receives: a few iterations are enough and keep the memory small.
BENCHMARK(BM_NozzleCheckJob)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
