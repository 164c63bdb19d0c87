#pragma once
// Resources embedded in the program's own module, found by name and type (names ignore letter case).
// Non-blocking, any thread.

#include <optional>
#include <string>

#include "platform/types.h"

namespace platform {

enum class ResourceType { RCData, Bitmap };

class Resources {
public:
    virtual ~Resources() = default;
    virtual std::optional<Bytes> Find(const std::wstring& name, ResourceType type) = 0;
};

// One embedded resource as the build generates it (see cmake/EmbedResources.cmake).
struct EmbeddedResource {
    const wchar_t* name;
    ResourceType type;
    const std::uint8_t* data;
    std::size_t size;
};

}  // namespace platform
