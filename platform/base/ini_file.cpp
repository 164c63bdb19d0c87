#include "platform/ini_file.h"

#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace platform {

namespace {

// Names in the profile match without regard to letter case; the listing gives them back in file spelling.
bool ListHolds(const std::vector<std::wstring>& names, const std::wstring& name) {
    for (const auto& entry : names) {
        if (SameText(entry, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::wstring IniFile::ReadString(const std::wstring& section,
                                 const std::wstring& key,
                                 const std::wstring& defaultValue) const {
    return profile().ReadString(fileName_, section, key, defaultValue);
}

std::int32_t IniFile::ReadInteger(const std::wstring& section,
                                  const std::wstring& key,
                                  std::int32_t defaultValue) const {
    return StrToIntDef(ReadString(section, key, L""), defaultValue);
}

bool IniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const {
    auto value = TryParseInteger(ReadString(section, key, L""));
    return value ? *value != 0 : defaultValue;
}

bool IniFile::ValueExists(const std::wstring& section, const std::wstring& key) const {
    return ListHolds(ReadSectionKeys(section), key);
}

bool IniFile::SectionExists(const std::wstring& section) const {
    return ListHolds(ReadSectionNames(), section);
}

std::vector<std::wstring> IniFile::ReadSectionKeys(const std::wstring& section) const {
    return profile().ReadSectionKeys(fileName_, section);
}

std::vector<std::wstring> IniFile::ReadSectionNames() const {
    return profile().ReadSectionNames(fileName_);
}

bool IniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) const {
    return profile().WriteString(fileName_, section, key, value);
}

bool IniFile::WriteInteger(const std::wstring& section, const std::wstring& key, std::int32_t value) const {
    return WriteString(section, key, IntToStr(value));
}

bool IniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) const {
    return WriteString(section, key, value ? L"1" : L"0");
}

}  // namespace platform
