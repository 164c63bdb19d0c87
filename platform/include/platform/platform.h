#pragma once
// The one process-wide accessor through which the system reaches the platform. The program installs the
// win32 platform at start-up; each test installs a fresh sim platform (tests/support).

#include <cassert>

namespace platform {

class Profile;
class FileSystem;
class Clock;
class Locale;
class CodePage;
class Resources;
class MessageBoxes;
class Processes;
class Spooler;
class PortLibrary;
class UsbPrinterDriver;
class ThreadState;
class Heap;
namespace forms {
class Backend;
}

// Non-owning: whoever installs a Platform keeps its parts alive until it is uninstalled.
struct Platform {
    Profile* profile = nullptr;
    FileSystem* files = nullptr;
    Clock* clock = nullptr;
    Locale* locale = nullptr;
    CodePage* codePage = nullptr;
    Resources* resources = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    Processes* processes = nullptr;
    Spooler* spooler = nullptr;
    PortLibrary* portLibrary = nullptr;
    UsbPrinterDriver* usbDriver = nullptr;
    forms::Backend* forms = nullptr;
    ThreadState* threadState = nullptr;
    Heap* heap = nullptr;
};

// Installs p (null uninstalls). Not thread-safe: done before any thread of the run starts.
void Install(const Platform* p);
const Platform& Current();
bool IsInstalled();
// For a module that has no start-up of its own (the plug-in, loaded into someone else's process): installs
// the implementation's own platform unless one is installed already. The first call does it, from any thread;
// later calls return at once. The sim installs nothing: its tests install theirs.
void InstallDefaultOnce();

inline Profile& profile() { assert(Current().profile); return *Current().profile; }
inline FileSystem& files() { assert(Current().files); return *Current().files; }
inline Clock& clock() { assert(Current().clock); return *Current().clock; }
inline Locale& locale() { assert(Current().locale); return *Current().locale; }
inline CodePage& codePage() { assert(Current().codePage); return *Current().codePage; }
inline Resources& resources() { assert(Current().resources); return *Current().resources; }
inline MessageBoxes& messageBoxes() { assert(Current().messageBoxes); return *Current().messageBoxes; }
inline Processes& processes() { assert(Current().processes); return *Current().processes; }
inline Spooler& spooler() { assert(Current().spooler); return *Current().spooler; }
inline PortLibrary& portLibrary() { assert(Current().portLibrary); return *Current().portLibrary; }
inline UsbPrinterDriver& usbDriver() { assert(Current().usbDriver); return *Current().usbDriver; }
inline forms::Backend& formsBackend() { assert(Current().forms); return *Current().forms; }
inline ThreadState& threadState() { assert(Current().threadState); return *Current().threadState; }
inline Heap& heap() { assert(Current().heap); return *Current().heap; }

}  // namespace platform
