#pragma once
// The plug-in's string table in its three languages, chosen by the user-interface language as the system
// chooses a module's resources: Simplified Chinese for 2052 and 4100, Traditional Chinese for 1028, 3076 and
// 5124, English for every other language.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrel {

inline constexpr std::uint32_t IDS_COMPRESS_RATE = 10;
inline constexpr std::uint32_t IDS_X_MOVE = 12;
inline constexpr std::uint32_t IDS_PORT_OFFLINE = 15;
inline constexpr std::uint32_t IDS_Y_MOVE = 16;
inline constexpr std::uint32_t IDS_PORT_UNSUPPORTED = 17;
inline constexpr std::uint32_t IDS_NOTICE = 18;

enum class PluginLanguage { Cn, Cht, En };

// The resource language the system picks for a user-interface language.
PluginLanguage PluginLanguageOf(std::uint16_t langId);

// One text in the three languages.
struct PluginText {
    const wchar_t* cn;   // 2052
    const wchar_t* cht;  // 1028
    const wchar_t* en;   // 1033
    const wchar_t* In(PluginLanguage language) const {
        return language == PluginLanguage::Cn ? cn : language == PluginLanguage::Cht ? cht : en;
    }
};

// The text of id in the language of langId; nothing for an id the table lacks.
std::optional<std::wstring> PluginString(std::uint32_t id, std::uint16_t langId);
// Every id of the table, in its order: the string table resource is written from them.
std::vector<std::uint32_t> PluginStringIds();

}  // namespace tavrel
