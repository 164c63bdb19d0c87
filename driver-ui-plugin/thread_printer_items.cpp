#include "thread_printer_items.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "platform/thread_state.h"

namespace tavrel {

namespace {

// The table's lock. Thread detach takes it under the loader lock, where nothing may be allocated, and the
// Windows threads library's mutex allocates at its first lock and makes an event at its first contention: so
// a flag, which needs neither. Everything done under it is short.
class TableLock {
public:
    void lock() {
        while (flag_.test_and_set(std::memory_order_acquire)) {
            std::this_thread::yield();
        }
    }
    void unlock() { flag_.clear(std::memory_order_release); }

private:
    std::atomic_flag flag_;
};

TableLock g_ThreadPrinterItemsLock;
std::vector<ThreadPrinterItem> g_ThreadPrinterItems;

std::vector<ThreadPrinterItem>::iterator FindItem(driverkit::DWORD threadId) {
    return std::find_if(g_ThreadPrinterItems.begin(), g_ThreadPrinterItems.end(),
                        [&](const ThreadPrinterItem& item) { return item.dwThreadId == threadId; });
}
}  // namespace

int SetThreadPrinterName(driverkit::DWORD threadId, const wchar_t* name) {
    std::wstring text = name ? std::wstring(name) : std::wstring();
    text.resize(std::min(text.size(), kNameChars - 1));
    std::lock_guard lock(g_ThreadPrinterItemsLock);
    auto it = FindItem(threadId);
    if (it != g_ThreadPrinterItems.end()) {
        it->szPrinterName = std::move(text);
        return 0;
    }
    g_ThreadPrinterItems.push_back({threadId, std::move(text)});
    return 1;
}

int GetThreadPrinterName(std::wstring& name, std::size_t capacity) {
    name.clear();
    const driverkit::DWORD threadId = platform::threadState().CurrentThreadId();
    std::lock_guard lock(g_ThreadPrinterItemsLock);
    auto it = FindItem(threadId);
    if (it == g_ThreadPrinterItems.end()) {
        return 0;
    }
    name = it->szPrinterName.substr(0, capacity > 0 ? capacity - 1 : 0);
    return 1;
}

void RemoveThreadPrinterName(driverkit::DWORD threadId) {
    std::lock_guard lock(g_ThreadPrinterItemsLock);
    auto it = FindItem(threadId);
    if (it != g_ThreadPrinterItems.end()) {
        g_ThreadPrinterItems.erase(it);
    }
}

std::vector<ThreadPrinterItem> ThreadPrinterItems() {
    std::lock_guard lock(g_ThreadPrinterItemsLock);
    return g_ThreadPrinterItems;
}

}  // namespace tavrel
