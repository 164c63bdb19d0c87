// The options file of port mode.

#include "Options.h"
#include "model_test_support.h"

namespace {

constexpr wchar_t kOptionsFile[] = L"C:\\Program Files\\Varintex\\Corventa.ini";

class OptionsTest : public ModelTest {
protected:
    // The options file is plain 8-bit text.
    void PutOptions(const std::string& text) { PutFile(kOptionsFile, platform::Bytes(text.begin(), text.end())); }
};

TEST_F(OptionsTest, Readings) {
    struct Case {
        const char* name;
        std::optional<std::string> file;  // none: no options file
        const wchar_t* localPorts;
        const wchar_t* defaultScheme;
    };
    const Case cases[] = {
        {"no options file", std::nullopt, L"", L""},
        {"empty section", "[Settings]\r\n", L"LPT1  COM1  _USB", L"Scheme\\WQ-472_Settings.Dat"},
        {"no section", "[Other]\r\nLocalPorts=COM9\r\n", L"LPT1  COM1  _USB", L"Scheme\\WQ-472_Settings.Dat"},
        {"keys present but empty", "[Settings]\r\nLocalPorts=\r\nDefaultScheme=\r\n", L"", L""},
        {"values", "[settings]\r\nlocalports = COM2 _USB\r\nDefaultScheme=Scheme\\WJ-610_Settings.Dat\r\n",
         L"COM2 _USB", L"Scheme\\WJ-610_Settings.Dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files().DeleteFile(kOptionsFile);
        if (c.file) {
            PutOptions(*c.file);
        }
        TIniOptions options;
        options.LoadFromFile(kOptionsFile);
        EXPECT_EQ(options.FSettingsLocalPorts, c.localPorts);
        EXPECT_EQ(options.FSettingsDefaultScheme, c.defaultScheme);
    }
}

TEST_F(OptionsTest, SavedOptionsReadBack) {
    TIniOptions saved;
    saved.FSettingsLocalPorts = L"LPT2";
    saved.FSettingsDefaultScheme = L"Other\\X_Settings.Dat";
    saved.SaveToFile(kOptionsFile);
    TIniOptions loaded;
    loaded.LoadFromFile(kOptionsFile);
    EXPECT_EQ(loaded.FSettingsLocalPorts, L"LPT2");
    EXPECT_EQ(loaded.FSettingsDefaultScheme, L"Other\\X_Settings.Dat");
}

TEST_F(OptionsTest, PathsBesideTheProgram) {
    struct Case {
        const wchar_t* program;
        const wchar_t* options;
        const wchar_t* scheme;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Setup.exe", L"C:\\Tools\\Setup.ini", L"C:\\Tools\\Scheme\\WQ-472_Settings.Dat"},
        {L"C:\\Tools.v2\\Setup", L"C:\\Tools.v2\\Setup.ini", L"C:\\Tools.v2\\Scheme\\WQ-472_Settings.Dat"},
        {L"C:\\a.b\\Prog.x.exe", L"C:\\a.b\\Prog.x.ini", L"C:\\a.b\\Scheme\\WQ-472_Settings.Dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.program));
        EXPECT_EQ(OptionsFileOfProgram(c.program), c.options);
        EXPECT_EQ(PortModeSchemeFile(c.program, L"Scheme\\WQ-472_Settings.Dat"), c.scheme);
    }
    // Without options the scheme path names the program's folder itself.
    EXPECT_EQ(PortModeSchemeFile(L"C:\\Tools\\Setup.exe", L""), L"C:\\Tools\\");
}

}  // namespace
