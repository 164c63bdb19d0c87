#include "platform/sim/resources_sim.h"

#include "platform/text.h"

namespace platform::sim {

std::vector<SimResources::Entry>::iterator SimResources::Locate(const std::wstring& name, ResourceType type) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->type == type && SameText(it->name, name)) {
            return it;
        }
    }
    return entries_.end();
}

std::optional<Bytes> SimResources::Find(const std::wstring& name, ResourceType type) {
    std::lock_guard lock(mutex_);
    auto it = Locate(name, type);
    if (it == entries_.end()) {
        return std::nullopt;
    }
    return it->bytes;
}

void SimResources::Add(const std::wstring& name, ResourceType type, Bytes bytes) {
    std::lock_guard lock(mutex_);
    auto it = Locate(name, type);
    if (it != entries_.end()) {
        it->bytes = std::move(bytes);
    } else {
        entries_.push_back(Entry{name, type, std::move(bytes)});
    }
}

void SimResources::AddTable(const EmbeddedResource* table, std::size_t count) {
    if (!table) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const EmbeddedResource& r = table[i];
        Bytes bytes;
        if (r.data && r.size > 0) {
            bytes.assign(r.data, r.data + r.size);
        }
        Add(r.name ? r.name : L"", r.type, std::move(bytes));
    }
}

bool SimResources::Remove(const std::wstring& name, ResourceType type) {
    std::lock_guard lock(mutex_);
    auto it = Locate(name, type);
    if (it == entries_.end()) {
        return false;
    }
    entries_.erase(it);
    return true;
}

}  // namespace platform::sim
