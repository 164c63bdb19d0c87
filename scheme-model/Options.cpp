#include "Options.h"

#include "platform/files.h"
#include "platform/platform.h"

namespace {

constexpr wchar_t kSettings[] = L"Settings";
constexpr wchar_t kLocalPorts[] = L"LocalPorts";
constexpr wchar_t kDefaultScheme[] = L"DefaultScheme";

// Position just after the last folder separator (or drive colon) of a path; 0 when it has none.
std::size_t NameStart(const std::wstring& path) {
    const std::size_t sep = path.find_last_of(L"\\/:");
    return sep == std::wstring::npos ? 0 : sep + 1;
}

}  // namespace

void TIniOptions::LoadFromFile(const std::wstring& fileName) {
    if (!platform::files().FileExists(fileName)) {
        return;
    }
    const platform::IniFile ini(fileName);
    LoadSettings(&ini);
}

void TIniOptions::LoadSettings(const platform::IniFile* iniFile) {
    if (iniFile == nullptr) {
        return;
    }
    FSettingsLocalPorts = iniFile->ReadString(kSettings, kLocalPorts, L"LPT1  COM1  _USB");
    FSettingsDefaultScheme = iniFile->ReadString(kSettings, kDefaultScheme, L"Scheme\\WQ-472_Settings.Dat");
}

void TIniOptions::SaveToFile(const std::wstring& fileName) const {
    const platform::IniFile ini(fileName);
    SaveSettings(&ini);
}

void TIniOptions::SaveSettings(const platform::IniFile* iniFile) const {
    if (iniFile == nullptr) {
        return;
    }
    iniFile->WriteString(kSettings, kLocalPorts, FSettingsLocalPorts);
    iniFile->WriteString(kSettings, kDefaultScheme, FSettingsDefaultScheme);
}

std::wstring OptionsFileOfProgram(const std::wstring& programPath) {
    const std::size_t nameStart = NameStart(programPath);
    const std::size_t dot = programPath.rfind(L'.');
    const std::wstring base = dot == std::wstring::npos || dot < nameStart ? programPath : programPath.substr(0, dot);
    return base + L".ini";
}

std::wstring PortModeSchemeFile(const std::wstring& programPath, const std::wstring& defaultScheme) {
    return programPath.substr(0, NameStart(programPath)) + defaultScheme;
}
