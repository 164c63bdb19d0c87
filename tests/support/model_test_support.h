#pragma once
// What the model's tests share: a sim per test with the program's language set, and INI files written into
// the sim's file system in the form the program ships them.

#include <string>

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/text.h"
#include "sim_fixture.h"

class ModelTest : public SimTest {
protected:
    void SetUp() override {
        g_GlobalString.Language = plEN;
        g_GlobalString.NO = L"No";
    }

    // Writes text (LF line ends) as UTF-16LE with byte-order mark and CR LF, creating the folder.
    void PutIniFile(const std::wstring& path, const std::wstring& text) {
        platform::Bytes bytes{0xFF, 0xFE};
        const platform::Bytes body = platform::WideToUtf16Le(platform::ReplaceAll(text, L"\n", L"\r\n"));
        bytes.insert(bytes.end(), body.begin(), body.end());
        PutFile(path, bytes);
    }
    void PutFile(const std::wstring& path, const platform::Bytes& bytes) {
        const std::size_t sep = path.rfind(L'\\');
        ASSERT_TRUE(sim.files().ForceDirectories(path.substr(0, sep)));
        ASSERT_TRUE(sim.files().WriteWholeFile(path, bytes));
    }

    static constexpr wchar_t kSchemeFile[] = L"C:\\Windows\\System32\\spool\\drivers\\W32X86\\3\\WQ-472_Settings.Dat";
    static constexpr wchar_t kMenuFile[] = L"C:\\Users\\tester\\AppData\\Local\\Temp\\Varintex Printer\\WQ.DAT";
};
