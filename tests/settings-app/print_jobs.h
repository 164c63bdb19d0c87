#pragma once
// The item dialog saves the nozzle-check print jobs at every creation, so every test that makes one carries
// the program's two jobs (and only those: the pictures stay out of tests that lay out without them).

#include <string>

#include "kCorventaResources.h"
#include "platform/sim/resources_sim.h"
#include "platform/text.h"

inline void AddPrintJobs(platform::sim::SimResources& resources) {
    for (std::size_t i = 0; i < kCorventaResourcesCount; ++i) {
        const platform::EmbeddedResource& resource = kCorventaResources[i];
        if (platform::StartsText(resource.name, L"HoleCheck")) {
            resources.Add(resource.name, resource.type, platform::Bytes(resource.data, resource.data + resource.size));
        }
    }
}
