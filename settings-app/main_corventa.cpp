// Corventa.exe: the real platform, then the program's entry. Nothing else lives here, so that the tests run the
// same entry on the sim.
#include "Corventa.h"
#include "platform/win32/win32_platform.h"

int main() {
    platform::win32::Win32Platform platform;
    return CorventaMain();
}
