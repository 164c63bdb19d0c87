#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/types.h"
#include "sim_fixture.h"

namespace {

using PlatformAccessorTest = SimTest;

TEST_F(PlatformAccessorTest, HandsOutTheInstalledSimParts) {
    EXPECT_EQ(&platform::clock(), &sim.clock());
    EXPECT_EQ(&platform::files(), &sim.files());
    EXPECT_EQ(&platform::profile(), &sim.profile());
    EXPECT_EQ(&platform::locale(), &sim.locale());
    EXPECT_EQ(&platform::codePage(), &sim.codePage());
    EXPECT_EQ(&platform::resources(), &sim.resources());
    EXPECT_EQ(&platform::messageBoxes(), &sim.messageBoxes());
    EXPECT_EQ(&platform::processes(), &sim.processes());
    EXPECT_EQ(&platform::spooler(), &sim.spooler());
    EXPECT_EQ(&platform::Current(), &sim.table());
}

TEST(PlatformAccessorDeathTest, NothingInstalledIsAProgrammingError) {
    { platform::sim::SimPlatform sim; }  // uninstalled again
    EXPECT_DEATH(platform::Current(), "");
}

TEST(SimLocaleTest, DefaultsAndSettings) {
    platform::sim::SimLocale locale;
    EXPECT_EQ(locale.SystemDefaultLangId(), 1033);
    EXPECT_EQ(locale.UserDefaultUILanguage(), 1033);
    EXPECT_EQ(locale.ShortDateFormat(), L"yyyy/M/d");
    EXPECT_EQ(locale.LongTimeFormat(), L"H:mm:ss");
    EXPECT_EQ(locale.DecimalSeparator(), L'.');
    locale.SetSystemDefaultLangId(2052);
    locale.SetUserDefaultUILanguage(1041);
    locale.SetShortDateFormat(L"dd.MM.yyyy");
    locale.SetLongTimeFormat(L"h:mm:ss tt");
    locale.SetDecimalSeparator(L',');
    EXPECT_EQ(locale.SystemDefaultLangId(), 2052);
    EXPECT_EQ(locale.UserDefaultUILanguage(), 1041);
    EXPECT_EQ(locale.ShortDateFormat(), L"dd.MM.yyyy");
    EXPECT_EQ(locale.LongTimeFormat(), L"h:mm:ss tt");
    EXPECT_EQ(locale.DecimalSeparator(), L',');
}

TEST(ExceptionTest, CarriesMessageAndCode) {
    const platform::Exception plain(L"SubGroup out of index: 200");
    EXPECT_EQ(plain.Message(), L"SubGroup out of index: 200");
    EXPECT_STREQ(plain.what(), "SubGroup out of index: 200");

    const platform::ExternalException external(0xC06D007Eu, L"QVP_RW.dll");
    EXPECT_EQ(external.Code(), 0xC06D007Eu);
    EXPECT_EQ(external.Message(), L"QVP_RW.dll");
    const platform::Exception& base = external;  // the handler catches the base type
    EXPECT_EQ(base.Message(), L"QVP_RW.dll");

    const platform::Exception chinese(L"\u6ca1\u6709");
    EXPECT_STREQ(chinese.what(), "\xe6\xb2\xa1\xe6\x9c\x89");  // UTF-8 for whoever only sees std::exception
}

}  // namespace
