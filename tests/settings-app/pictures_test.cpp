// The program's pictures where the windows show them: every name a window asks for is a bitmap resource of
// the program that parses and fits its place.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "item_dialog_fixture.h"
#include "kCorventaResources.h"
#include "platform/text.h"

namespace {

using namespace platform::forms;

std::vector<std::wstring> SettingIconNames() {
    std::ifstream in(CORVENTA_ICON_NAMES);
    std::vector<std::wstring> names;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            names.push_back(platform::Utf8ToWide(line));
        }
    }
    return names;
}

class PicturesTest : public ItemDialogTest {
protected:
    void SetUp() override {
        ItemDialogTest::SetUp();
        sim.resources().AddTable(kCorventaResources, kCorventaResourcesCount);
    }

    // The action panel of a maintenance item of that name.
    FormPtr<TfrmSetItem> ActionPanel(const std::wstring& itemName) {
        UseItem(1, Options(1), 0, L"Name=" + itemName + L"\nIcon=" + itemName + L"\n");
        auto dialog = MakeForm<TfrmSetItem>();
        dialog->LoadItemOptions();
        return dialog;
    }
};

TEST_F(PicturesTest, EverySettingIconFitsASlot) {
    const std::vector<std::wstring> names = SettingIconNames();
    ASSERT_GE(names.size(), 2u) << CORVENTA_ICON_NAMES;
    for (const std::wstring& name : names) {
        SCOPED_TRACE(platform::WideToUtf8(name));
        const Bitmap icon = Bitmap::FromResource(name);
        // A glyph 60 pixels wide or more keeps the main window's second slot of a row in the first column.
        EXPECT_LT(icon.Width(), 60);
        // The plug-in's slot buttons are 26 dialog units, about 42 pixels, high.
        EXPECT_LE(icon.Height(), 42);
    }
    EXPECT_EQ(Bitmap::FromResource(L"100_Settings").Name(), L"100_Settings") << "the fallback, as the windows spell it";
}

TEST_F(PicturesTest, EachActionPanelShowsItsPictureWhole) {
    struct Case {
        const wchar_t* item;
        const wchar_t* picture;
    };
    const Case cases[] = {
        {L"Ink_Bearing_Clean", L"IMG_BEARING_CLEAN"},
        {L"Ink_Bottom_Clean", L"IMG_BOTTOM_CLEAN"},
        {L"Ink_Changebox", L"IMG_CHANGEBOX"},
        {L"Ink_ChangeboxA", L"IMG_CHANGEBOXA"},
        {L"Ink_Changehead", L"IMG_CHANGEHEAD"},
        {L"Ink_ChangeheadA", L"IMG_CHANGEHEADA"},
        {L"Ink_Clean", L"IMG_CLEAN"},
        {L"Ink_Deepclean", L"IMG_DEEPCLEAN"},
        {L"Ink_Holecheck1082", L"IMG_HOLECHECK1082"},
        {L"Ink_Holecheck1541", L"IMG_HOLECHECK1541"},
        {L"Ink_Selftest", L"IMG_SELFTEST"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.item));
        auto dialog = ActionPanel(c.item);
        const Bitmap& picture = dialog->tsb3->BrushBitmap();
        ASSERT_FALSE(picture.Empty());
        EXPECT_EQ(picture, Bitmap::FromResource(c.picture));
        // A brush repeats a narrower picture across the box and cuts a wider one.
        EXPECT_EQ(picture.Width(), dialog->ClientWidth());
        EXPECT_EQ(dialog->tsb3->Height(), picture.Height());
        EXPECT_LE(dialog->tsb3->BoundsRect().bottom, dialog->pnlType3->ClientHeight())
            << "the explanation below would cover the picture's foot";
    }
}

TEST_F(PicturesTest, EachWizardStepFitsTheActionPanel) {
    struct Case {
        const wchar_t* item;
        std::vector<const wchar_t*> steps;
    };
    const Case cases[] = {
        {L"Ink_Changehead", {L"CHANGEHEAD1", L"CHANGEHEAD2", L"CHANGEHEAD3", L"CHANGEHEAD4", L"CHANGEHEAD5"}},
        {L"Ink_Changebox", {L"CHANGEBOX1", L"CHANGEBOX2", L"CHANGEBOX3", L"CHANGEBOX4", L"CHANGEBOX5"}},
        {L"Ink_ChangeheadA", {L"CHANGEHEADA1", L"CHANGEHEADA2", L"CHANGEHEADA3", L"CHANGEHEADA4"}},
        {L"Ink_ChangeboxA", {L"CHANGEBOXA1"}},
    };
    for (const Case& c : cases) {
        auto dialog = ActionPanel(c.item);
        const int room = dialog->pnlType3->ClientHeight() - dialog->tsb3->Top();
        for (const wchar_t* step : c.steps) {
            SCOPED_TRACE(platform::WideToUtf8(step));
            const Bitmap picture = Bitmap::FromResource(step);
            EXPECT_EQ(picture.Width(), dialog->ClientWidth());
            EXPECT_LE(picture.Height(), room);
        }
    }
}

TEST_F(PicturesTest, EachInkLevelFitsTheInkButton) {
    // The button is 75 x 80 with a 3-pixel edge all round.
    for (const wchar_t* name : {L"Ink_no", L"Ink_few", L"Ink_half", L"Ink_ample", L"Ink_full"}) {
        SCOPED_TRACE(platform::WideToUtf8(name));
        const Bitmap picture = Bitmap::FromResource(name);
        EXPECT_LE(picture.Width(), 75 - 6);
        EXPECT_LE(picture.Height(), 80 - 6);
    }
}

}  // namespace
