#include "thread_printer_items.h"

#include <algorithm>
#include <mutex>

#include "platform/platform.h"
#include "platform/thread_state.h"

namespace tavrel {

namespace {
std::mutex g_ThreadPrinterItemsLock;
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
