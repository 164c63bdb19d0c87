#pragma once
// An INI file read and written through the platform's profile functions, with the program's typed rules:
// integers by TryParseInteger, Booleans as integers (0 False, any other number True, anything else the
// default). Holds only the file name; every call goes to the profile functions afresh.

#include <string>
#include <vector>

namespace platform {

class IniFile {
public:
    explicit IniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}
    const std::wstring& FileName() const { return fileName_; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& defaultValue) const;
    std::int32_t ReadInteger(const std::wstring& section, const std::wstring& key, std::int32_t defaultValue) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const;
    bool ValueExists(const std::wstring& section, const std::wstring& key) const;
    bool SectionExists(const std::wstring& section) const;
    std::vector<std::wstring> ReadSectionKeys(const std::wstring& section) const;
    std::vector<std::wstring> ReadSectionNames() const;

    bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) const;
    bool WriteInteger(const std::wstring& section, const std::wstring& key, std::int32_t value) const;
    bool WriteBool(const std::wstring& section, const std::wstring& key, bool value) const;  // "1" / "0"

private:
    std::wstring fileName_;
};

}  // namespace platform
