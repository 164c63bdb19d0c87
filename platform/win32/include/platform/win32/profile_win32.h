#pragma once
// The INI profile functions of the system (GetPrivateProfileStringW and friends). The system keeps the rules
// of platform/profile.h itself; this class adds what its calls leave open: the caller's default given back
// unchanged (the system trims its trailing blanks), and each name listed once.

#include "platform/profile.h"

namespace platform::win32 {

class Win32Profile : public Profile {
public:
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
};

}  // namespace platform::win32
