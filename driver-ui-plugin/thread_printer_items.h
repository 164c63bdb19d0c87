#pragma once
// The per-thread printer-name table: which printer each thread of the host is showing sheets for. Set when
// the driver calls CommonUIProp, read by the page on the same thread, removed when the thread ends. Shared
// by all threads of the host, so every call takes the table's lock.

#include <cstddef>
#include <string>
#include <vector>

#include "driver_kit.h"

namespace tavrel {

inline constexpr std::size_t kNameChars = 260;  // names and INI texts, terminator included

struct ThreadPrinterItem {
    driverkit::DWORD dwThreadId = 0;
    std::wstring szPrinterName;  // at most kNameChars - 1 characters
};

// 1 when a record was added, 0 when the thread's record was overwritten. A null name records "".
int SetThreadPrinterName(driverkit::DWORD threadId, const wchar_t* name);
// The calling thread's name, cut to capacity - 1 characters: 1 when found, 0 (and "") when not.
int GetThreadPrinterName(std::wstring& name, std::size_t capacity = kNameChars);
// Takes only the table's lock and allocates nothing: thread detach calls it under the loader lock.
void RemoveThreadPrinterName(driverkit::DWORD threadId);

// A copy of the table in insertion order, for checks.
std::vector<ThreadPrinterItem> ThreadPrinterItems();

}  // namespace tavrel
