#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "com_server.h"
#include "oem_ui.h"
#include "platform/platform.h"
#include "platform/thread_state.h"
#include "plugin_fixture.h"

namespace {

namespace dk = driverkit;

constexpr dk::GUID kOtherClass = {0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};

struct InterfaceCase {
    const char* name;
    const dk::IID* iid;
    dk::HRESULT factory;  // asked of the class factory
    dk::HRESULT object;   // asked of the plug-in object
};

const InterfaceCase kInterfaceCases[] = {
    {"IUnknown", &dk::IID_IUnknown, dk::S_OK, dk::S_OK},
    {"IClassFactory", &dk::IID_IClassFactory, dk::S_OK, dk::E_NOINTERFACE},
    {"IPrintOemUI", &dk::IID_IPrintOemUI, dk::E_NOINTERFACE, dk::S_OK},
    {"IPrintOemDriverUI", &dk::IID_IPrintOemDriverUI, dk::E_NOINTERFACE, dk::E_NOINTERFACE},
};

class ComServerTest : public PluginTest {};

TEST_F(ComServerTest, EachObjectHandsOutOnlyItsOwnInterfaces) {
    for (const auto& c : kInterfaceCases) {
        SCOPED_TRACE(c.name);
        void* factory = reinterpret_cast<void*>(1);
        ASSERT_EQ(DllGetClassObject(dk::CLSID_OEMUI, *c.iid, &factory), c.factory);
        EXPECT_EQ(factory == nullptr, c.factory != dk::S_OK) << "a refusal clears the out pointer";

        dk::IClassFactory* cf = nullptr;
        ASSERT_EQ(DllGetClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, reinterpret_cast<void**>(&cf)), dk::S_OK);
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(cf->CreateInstance(nullptr, *c.iid, &object), c.object);
        EXPECT_EQ(object == nullptr, c.object != dk::S_OK);
        if (object) {
            EXPECT_EQ(static_cast<dk::IUnknown*>(object)->Release(), 0u) << "the creator's reference was released";
        }
        if (factory) {
            static_cast<dk::IUnknown*>(factory)->Release();
        }
        EXPECT_EQ(cf->Release(), 0u);
    }
}

TEST_F(ComServerTest, RefusedRequestsAnswerTheirCodes) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(DllGetClassObject(kOtherClass, dk::IID_IClassFactory, &out), dk::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DllGetClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, nullptr), dk::E_POINTER);

    dk::IClassFactory* cf = nullptr;
    ASSERT_EQ(DllGetClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, reinterpret_cast<void**>(&cf)), dk::S_OK);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(cf->CreateInstance(cf, dk::IID_IPrintOemUI, &out), dk::CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(cf->CreateInstance(nullptr, dk::IID_IPrintOemUI, nullptr), dk::E_POINTER);
    cf->Release();
}

TEST_F(ComServerTest, UnloadWaitsForLocksAndLiveObjects) {
    EXPECT_EQ(DllCanUnloadNow(), dk::S_OK);
    dk::IClassFactory* cf = nullptr;
    ASSERT_EQ(DllGetClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, reinterpret_cast<void**>(&cf)), dk::S_OK);
    EXPECT_EQ(DllCanUnloadNow(), dk::S_FALSE) << "a live factory";
    cf->LockServer(1);
    dk::IPrintOemUI* ui = nullptr;
    ASSERT_EQ(cf->CreateInstance(nullptr, dk::IID_IPrintOemUI, reinterpret_cast<void**>(&ui)), dk::S_OK);
    cf->Release();
    EXPECT_EQ(ui->AddRef(), 2u);
    EXPECT_EQ(ui->Release(), 1u);
    EXPECT_EQ(ui->Release(), 0u);
    EXPECT_EQ(DllCanUnloadNow(), dk::S_FALSE) << "the lock alone";
    // The factory is gone; a new one unlocks the server, as the host would.
    ASSERT_EQ(DllGetClassObject(dk::CLSID_OEMUI, dk::IID_IClassFactory, reinterpret_cast<void**>(&cf)), dk::S_OK);
    cf->LockServer(0);
    cf->Release();
    EXPECT_EQ(DllCanUnloadNow(), dk::S_OK);
}

// A driver object that answers for IPrintOemDriverUI or refuses, and counts its references.
class FakeDriver final : public dk::IPrintOemDriverUI {
public:
    explicit FakeDriver(bool answers) : answers_(answers) {}
    dk::HRESULT QueryInterface(const dk::IID& riid, void** ppv) override {
        if (answers_ && riid == dk::IID_IPrintOemDriverUI) {
            *ppv = this;
            AddRef();
            return dk::S_OK;
        }
        *ppv = nullptr;
        return dk::E_NOINTERFACE;
    }
    dk::ULONG AddRef() override { return ++refs; }
    dk::ULONG Release() override { return --refs; }
    dk::ULONG refs = 1;

private:
    bool answers_;
};

TEST_F(ComServerTest, TheDriverInterfaceIsHeldOnceAndReleasedWithTheObject) {
    FakeDriver driver(true);
    FakeDriver refusing(false);
    auto* ui = new tavrel::IOemUI();
    EXPECT_EQ(ui->PublishDriverInterface(&refusing), dk::E_FAIL);
    EXPECT_EQ(ui->PublishDriverInterface(nullptr), dk::E_FAIL);
    EXPECT_EQ(ui->PublishDriverInterface(&driver), dk::S_OK);
    EXPECT_EQ(ui->PublishDriverInterface(&driver), dk::S_OK);
    EXPECT_EQ(driver.refs, 2u) << "held once";
    ui->Release();
    EXPECT_EQ(driver.refs, 1u);
}

TEST_F(ComServerTest, ThreadDetachForgetsOnlyThatThreadsPrinter) {
    const dk::DWORD me = platform::threadState().CurrentThreadId();
    tavrel::SetThreadPrinterName(me, L"Mine");
    tavrel::SetThreadPrinterName(me + 1000, L"Other");
    EXPECT_EQ(DllMain(nullptr, dk::DLL_THREAD_DETACH, nullptr), 1);
    const auto items = tavrel::ThreadPrinterItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].szPrinterName, L"Other");
}

// Every property sheet of the host runs on a thread of its own: each thread sets, reads and, when it ends,
// removes its own record while the others do the same.
TEST_F(ComServerTest, ThreadsKeepTheirOwnPrinterNames) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 200;
    std::atomic<int> wrongNames{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &wrongNames] {
            const dk::DWORD me = platform::threadState().CurrentThreadId();
            for (int round = 0; round < kRounds; ++round) {
                const std::wstring name = L"Printer " + std::to_wstring(t) + L"/" + std::to_wstring(round);
                tavrel::SetThreadPrinterName(me, name.c_str());
                std::wstring read;
                if (tavrel::GetThreadPrinterName(read) != 1 || read != name) {
                    ++wrongNames;
                }
                if (round % 50 == 49) {
                    tavrel::RemoveThreadPrinterName(me);
                }
            }
            tavrel::SetThreadPrinterName(me, L"last");
            DllMain(nullptr, dk::DLL_THREAD_DETACH, nullptr);
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrongNames.load(), 0);
    EXPECT_TRUE(tavrel::ThreadPrinterItems().empty()) << "each thread's detach removed its record";
}

TEST_F(ComServerTest, ThePrinterNameTableKeepsOneRecordPerThreadInOrder) {
    EXPECT_EQ(tavrel::SetThreadPrinterName(7, L"A"), 1);
    EXPECT_EQ(tavrel::SetThreadPrinterName(8, L"B"), 1);
    EXPECT_EQ(tavrel::SetThreadPrinterName(9, L"C"), 1);
    EXPECT_EQ(tavrel::SetThreadPrinterName(7, std::wstring(300, L'x').c_str()), 0);
    tavrel::RemoveThreadPrinterName(8);
    const auto items = tavrel::ThreadPrinterItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].dwThreadId, 7u);
    EXPECT_EQ(items[0].szPrinterName, std::wstring(259, L'x')) << "cut to the 260-character buffer";
    EXPECT_EQ(items[1].dwThreadId, 9u);

    std::wstring name = L"stale";
    EXPECT_EQ(tavrel::GetThreadPrinterName(name), 0) << "this thread has no record";
    EXPECT_EQ(name, L"");
}

}  // namespace
