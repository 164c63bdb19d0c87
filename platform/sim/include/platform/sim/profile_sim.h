#pragma once
// The sim's INI profile functions: the reference for the rules in platform/profile.h. Every call reads the
// whole file afresh through the sim's file system (tests may change files between calls) and writes it back
// whole, keeping every line it does not change byte for byte. The parsed form of the last few files is kept
// only to spare parsing the same bytes again: it is used when the file's bytes and the code page are exactly
// those it was parsed from.

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace platform::sim {

class SimFileSystem;
class SimCodePage;

class SimProfile : public platform::Profile {
public:
    SimProfile(SimFileSystem& files, SimCodePage& codePage) : files_(files), codePage_(codePage) {}

    std::wstring ReadString(const std::wstring& file,
                            const std::wstring& section,
                            const std::wstring& key,
                            const std::wstring& defaultValue) override;
    bool WriteString(const std::wstring& file,
                     const std::wstring& section,
                     const std::wstring& key,
                     const std::wstring& value) override;
    std::vector<std::wstring> ReadSectionKeys(const std::wstring& file, const std::wstring& section) override;
    std::vector<std::wstring> ReadSectionNames(const std::wstring& file) override;
    bool DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) override;
    bool EraseSection(const std::wstring& file, const std::wstring& section) override;

private:
    class Document;

    struct Parsed {
        std::wstring fileKey;
        std::uint32_t codePage = 0;
        std::shared_ptr<const Document> doc;
    };

    // The file as it is now, parsed; null when it does not exist.
    std::shared_ptr<const Document> Load(const std::wstring& file);
    bool Modify(const std::wstring& file,
                const std::wstring& section,
                const std::wstring* key,
                const std::wstring* value);

    SimFileSystem& files_;
    SimCodePage& codePage_;
    // Serialises read-modify-write cycles so two threads writing the same file lose nothing.
    std::mutex writeMutex_;
    std::mutex parsedMutex_;
    std::list<Parsed> parsed_;  // most recent first
};

}  // namespace platform::sim
