#pragma once
// The settings program's own options file for port mode: the local ports it offers and the model settings
// file it loads, relative to the program's folder.

#include <string>

#include "platform/ini_file.h"

class TIniOptions {
public:
    // Reads the file when it exists; else both fields stay empty (no default applies).
    void LoadFromFile(const std::wstring& fileName);
    // Nothing for a null file.
    void LoadSettings(const platform::IniFile* iniFile);
    void SaveToFile(const std::wstring& fileName) const;
    void SaveSettings(const platform::IniFile* iniFile) const;

    // Blank-separated port names; "_USB" stands for every USB printer.
    std::wstring FSettingsLocalPorts;
    std::wstring FSettingsDefaultScheme;
};

// The options file of a program file: its path with the extension replaced by ".ini".
std::wstring OptionsFileOfProgram(const std::wstring& programPath);
// The model settings file of port mode: the program's folder (with its trailing backslash) followed by the
// DefaultScheme text as it stands.
std::wstring PortModeSchemeFile(const std::wstring& programPath, const std::wstring& defaultScheme);
