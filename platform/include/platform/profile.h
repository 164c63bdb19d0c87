#pragma once
// INI profile functions (the platform's private-profile API).
//
// Rules every implementation keeps (the sim is the reference):
// - section and key names match without regard to letter case; blanks around "=" are dropped;
// - when a key occurs twice in a section the first occurrence counts;
// - a text value is at most 2047 characters (longer values are cut);
// - a missing file, section or key gives the caller's default; a key present with an empty value gives "";
// - a file beginning with the UTF-16LE byte-order mark is UTF-16LE, anything else 8-bit text in the system
//   code page;
// - writing a key creates the file, the section or the key as needed and keeps the rest of the file
//   (a UTF-16LE file stays UTF-16LE).
// All calls block on file I/O, may run on any thread, and never throw: failures show as defaults or false.

#include <string>
#include <vector>

namespace platform {

inline constexpr std::size_t kProfileValueMax = 2047;

class Profile {
public:
    virtual ~Profile() = default;

    virtual std::wstring ReadString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                                    const std::wstring& defaultValue) = 0;
    // False when the file cannot be written.
    virtual bool WriteString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                             const std::wstring& value) = 0;
    // Key names of a section in file order (each name once, first spelling); empty when absent.
    virtual std::vector<std::wstring> ReadSectionKeys(const std::wstring& file, const std::wstring& section) = 0;
    // Section names in file order.
    virtual std::vector<std::wstring> ReadSectionNames(const std::wstring& file) = 0;
    virtual bool DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) = 0;
    virtual bool EraseSection(const std::wstring& file, const std::wstring& section) = 0;
};

}  // namespace platform
