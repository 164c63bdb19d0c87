#pragma once
// Resources of the module that holds this code (the program, or the plug-in DLL that links it), found with
// FindResourceW. A bitmap comes back as a bitmap file, its file header rebuilt, as the build embeds it for the
// sim.

#include "platform/resources.h"

namespace platform::win32 {

class Win32Resources : public Resources {
public:
    std::optional<Bytes> Find(const std::wstring& name, ResourceType type) override;
};

}  // namespace platform::win32
