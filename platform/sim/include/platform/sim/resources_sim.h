#pragma once
// The simulated module resources: a table of (name, type) -> bytes, names matched without regard to ASCII
// letter case. Filled by the test, or from a table the build embeds (cmake/EmbedResources.cmake).

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace platform::sim {

class SimResources : public Resources {
public:
    std::optional<Bytes> Find(const std::wstring& name, ResourceType type) override;

    // Adds the resource, replacing one of the same name and type.
    void Add(const std::wstring& name, ResourceType type, Bytes bytes);
    void AddTable(const EmbeddedResource* table, std::size_t count);
    // False when there was no such resource.
    bool Remove(const std::wstring& name, ResourceType type);

private:
    struct Entry {
        std::wstring name;
        ResourceType type;
        Bytes bytes;
    };
    std::vector<Entry>::iterator Locate(const std::wstring& name, ResourceType type);  // mutex_ held

    std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace platform::sim
