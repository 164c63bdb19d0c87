// The application object (exception boxes, main form and message loop, form life cycle), bitmaps from the
// resources, component lookup by name and the form dump.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "platform/forms/forms.h"
#include "platform/sim/forms_headless.h"
#include "platform/text.h"
#include "sim_fixture.h"

namespace {

using namespace platform::forms;
using platform::Bytes;
using platform::MsgIcon;
using platform::ResourceType;
using platform::sim::ExpectedBox;
using platform::sim::UserScript;

// A form whose handlers throw what the test tells them to.
class TThrowingForm : public Form {
public:
    explicit TThrowingForm(std::function<void()> onCreate = {})
        : Form(L"TThrowingForm", FormDesign{.clientWidth = 300, .clientHeight = 100}) {
        const ComponentDesign layout[] = {
            {.kind = ComponentKind::Button, .name = L"btnThrow"},
            {.kind = ComponentKind::Button, .name = L"btnOK", .left = 100, .modalResult = mrOk},
            {.kind = ComponentKind::Timer, .name = L"tmr", .enabled = false, .interval = 100},
        };
        CreateComponents(*this, layout);
        Find<Button>(L"btnThrow")->OnClick = [this](Component&) { Throw(); };
        Find<Timer>(L"tmr")->OnTimer = [this](Component& t) {
            static_cast<Timer&>(t).SetEnabled(false);
            Throw();
        };
        OnCreate = [onCreate](Component&) {
            if (onCreate) {
                onCreate();
            }
        };
        OnShow = [this](Component&) {
            ++shows;
            if (throwOnShow) {
                Throw();
            }
        };
        OnClose = [this](Component&, TCloseAction&) {
            if (throwOnClose) {
                throwOnClose = false;
                Throw();
            }
        };
        OnDestroy = [this](Component&) {
            if (destroyed) {
                ++*destroyed;
            }
        };
    }

    void Throw() {
        if (thrower) {
            thrower();
        }
    }

    std::function<void()> thrower;
    bool throwOnShow = false;
    bool throwOnClose = false;
    int shows = 0;
    int* destroyed = nullptr;
};

class FormsApplicationTest : public SimTest {
protected:
    std::vector<std::wstring> BoxTexts() {
        std::vector<std::wstring> texts;
        for (const auto& box : sim.messageBoxes().Shown()) {
            texts.push_back(box.text);
        }
        return texts;
    }
};

TEST_F(FormsApplicationTest, ExceptionsFromHandlersBecomeErrorBoxes) {
    struct Case {
        const char* name;
        std::function<void()> thrower;
        std::wstring text;
    };
    const Case cases[] = {
        {"the program's exception with its message and a full stop",
         [] { throw platform::Exception(L"SubGroup out of index: 65"); }, L"SubGroup out of index: 65."},
        {"an external module's failure by its code",
         [] { throw platform::ExternalException(0xC06D007E, L"QVP_RW.dll"); }, L"External exception C06D007E."},
        {"a text that ends in a full stop keeps it", [] { throw platform::Exception(L"Done."); }, L"Done."},
        {"a text that ends below the full stop", [] { throw platform::Exception(L"No printer!"); }, L"No printer!"},
        {"a wide character is above it",
         [] { throw platform::Exception(L"没有找到打印机，请确认打印机已正常开机并连接好USB线！"); },
         L"没有找到打印机，请确认打印机已正常开机并连接好USB线！."},
        {"any other exception by its text", [] { throw std::out_of_range("index 7"); }, L"index 7."},
    };
    application().SetTitle(L"Printer Settings");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageBoxes().ClearShown();
        auto form = MakeForm<TThrowingForm>();
        form->thrower = c.thrower;
        sim.forms().WhenModal(L"TThrowingForm",
                              UserScript()
                                  .Click(L"btnThrow")
                                  .ExpectBox(ExpectedBox{.text = c.text, .caption = L"Printer Settings"})
                                  .Click(L"btnOK"));
        // The program goes on after the box: the next action still ends the dialog.
        EXPECT_EQ(form->ShowModal(), mrOk);
        const auto shown = sim.messageBoxes().Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.text);
        EXPECT_EQ(shown[0].caption, L"Printer Settings");
        EXPECT_EQ(shown[0].icon, MsgIcon::Error);
        EXPECT_EQ(shown[0].buttons, platform::MsgButtons::OK);
    }
}

TEST_F(FormsApplicationTest, EveryEventFromOutsideReportsItsException) {
    const auto thrower = [] { throw platform::Exception(L"boom"); };
    // Without a title the boxes carry the program's name.
    sim.messageBoxes().ExpectBox(L"boom.");
    auto created = MakeForm<TThrowingForm>(thrower);
    EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"boom."}));
    EXPECT_EQ(sim.messageBoxes().Shown()[0].caption, L"Corventa");

    struct Case {
        const char* name;
        std::function<void(TThrowingForm&)> arm;
        UserScript script;
    };
    const Case cases[] = {
        // OnShow runs before the modal loop does, so its box is the sim's to expect.
        {"OnShow: reported, and the form is shown anyway",
         [this](TThrowingForm& f) {
             f.throwOnShow = true;
             sim.messageBoxes().ExpectBox(L"boom.");
         },
         UserScript().Click(L"btnOK")},
        {"a timer tick", [](TThrowingForm& f) { f.Find<Timer>(L"tmr")->SetEnabled(true); },
         UserScript().Wait(150).ExpectBox(L"boom.").Click(L"btnOK")},
        {"a modal form's OnClose: reported, and the wait goes on", [](TThrowingForm& f) { f.throwOnClose = true; },
         UserScript().Click(L"btnOK").ExpectBox(L"boom.").Click(L"btnOK")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageBoxes().ClearShown();
        auto form = MakeForm<TThrowingForm>();
        form->thrower = thrower;
        c.arm(*form);
        sim.forms().WhenModal(L"TThrowingForm", c.script);
        EXPECT_EQ(form->ShowModal(), mrOk);
        EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"boom."}));
        EXPECT_TRUE(sim.forms().Unfinished().empty());
    }
}

TEST_F(FormsApplicationTest, AFatalErrorIsNeverSwallowed) {
    auto form = MakeForm<TThrowingForm>();
    form->thrower = [] { throw FatalError("the run cannot go on"); };
    sim.forms().WhenModal(L"TThrowingForm", UserScript().Click(L"btnThrow").Click(L"btnOK"));
    EXPECT_THROW(form->ShowModal(), FatalError);
    EXPECT_TRUE(sim.messageBoxes().Shown().empty());
}

TEST_F(FormsApplicationTest, TheMainFormRunsTheMessageLoopUntilItCloses) {
    int destroyed = 0;
    auto* main = application().CreateForm<TThrowingForm>();
    main->destroyed = &destroyed;
    auto* second = application().CreateForm<TThrowingForm>();
    second->destroyed = &destroyed;
    EXPECT_EQ(application().MainForm(), main);
    main->Find<Button>(L"btnOK")->OnClick = [main](Component&) { main->Close(); };
    sim.forms().WhenModal(L"TThrowingForm", UserScript().Click(L"btnOK"));
    application().Run();
    EXPECT_TRUE(application().Terminated());
    EXPECT_EQ(main->shows, 1);
    ASSERT_EQ(sim.forms().Loops().size(), 1u);
    EXPECT_FALSE(sim.forms().Loops()[0].modal);
    application().DestroyForms();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(application().MainForm(), nullptr);
    EXPECT_TRUE(application().Forms().empty());
}

TEST_F(FormsApplicationTest, TerminatingEndsAModalWaitWithCancel) {
    auto form = MakeForm<TThrowingForm>();
    form->thrower = [] { application().Terminate(); };
    sim.forms().WhenModal(L"TThrowingForm", UserScript().Click(L"btnThrow"));
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(FormsApplicationTest, FreeingAFormRunsOnDestroyOnce) {
    int destroyed = 0;
    {
        auto form = MakeForm<TThrowingForm>();
        form->destroyed = &destroyed;
        form->Show();
        EXPECT_TRUE(sim.forms().HasNative(*form->Find<Button>(L"btnOK")));
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(application().Forms().empty());
}

// The sim's desktop also holds the windows of other programs, such as another running copy's main window.
TEST_F(FormsApplicationTest, OtherProgramsWindowsAreFoundUntilTheyClose) {
    auto& forms = sim.forms();
    forms.OpenOtherProgramWindow(L"TfrmMainView2");
    forms.OpenOtherProgramWindow(L"TfrmMainView2");
    EXPECT_TRUE(forms.TopLevelWindowExists(L"tfrmmainview2"));
    EXPECT_FALSE(forms.TopLevelWindowExists(L"TfrmSetItem"));
    forms.CloseOtherProgramWindow(L"TfrmMainView2");
    EXPECT_TRUE(forms.TopLevelWindowExists(L"TfrmMainView2")) << "the second copy's window is still open";
    forms.CloseOtherProgramWindow(L"TfrmMainView2");
    EXPECT_FALSE(forms.TopLevelWindowExists(L"TfrmMainView2"));
}

TEST_F(FormsApplicationTest, ComponentsAreFoundByNameWithoutRegardToCase) {
    const ComponentDesign layout[] = {
        {.kind = ComponentKind::Panel, .name = L"pnlTop"},
        {.kind = ComponentKind::Label, .name = L"lbl01", .parent = L"pnlTop"},
        {.kind = ComponentKind::Label, .name = L"lbl012", .parent = L"pnlTop"},
        {.kind = ComponentKind::BitBtn, .name = L"btn01", .parent = L"pnlTop", .tag = 1},
    };
    struct TSlots : Form {
        explicit TSlots(std::span<const ComponentDesign> table) : Form(L"TSlots", FormDesign{}) {
            CreateComponents(*this, table);
        }
    };
    auto form = MakeForm<TSlots>(layout);
    const int i = 0;
    EXPECT_EQ(form->FindComponent(platform::Format(L"lbl%.2d", {std::int64_t{i + 1}})), form->Find<Label>(L"LBL01"));
    EXPECT_EQ(form->FindComponent(platform::Format(L"lbl%.2d2", {std::int64_t{i + 1}}))->Name(), L"lbl012");
    EXPECT_EQ(form->FindComponent(L"btn01")->Tag(), 1);
    EXPECT_EQ(form->FindComponent(L"btn16"), nullptr);
    EXPECT_EQ(form->FindComponent(L""), nullptr);
}

// ---- Bitmaps ----

TEST_F(FormsApplicationTest, BitmapsComeFromTheResourcesWithTheirSize) {
    sim.resources().Add(L"100_SETTINGS", ResourceType::Bitmap, BitmapFile(48, 40, 24));
    sim.resources().Add(L"IMG_CLEAN", ResourceType::Bitmap, BitmapFile(300, -250, 8));
    Bitmap settings = Bitmap::FromResource(L"100_Settings");
    EXPECT_EQ(settings.Width(), 48);
    EXPECT_EQ(settings.Height(), 40);
    EXPECT_EQ(settings.BitsPerPixel(), 24);
    EXPECT_EQ(settings.Dib().size(), BitmapFile(48, 40, 24).size() - 14);
    EXPECT_EQ(settings.PixelOffset(), 40u);  // no colour table above 8 bits
    Bitmap clean = Bitmap::FromResource(L"Img_Clean");  // top-down rows
    EXPECT_EQ(clean.Width(), 300);
    EXPECT_EQ(clean.Height(), 250);
    EXPECT_EQ(clean.PixelOffset(), 40u + 256 * 4);

    // A bare device-independent bitmap (as a compiled resource holds it) and the small core header.
    const Bytes file = BitmapFile(2, 3, 1);
    const Bytes bare(file.begin() + 14, file.end());
    EXPECT_EQ(Bitmap::FromBytes(bare).Height(), 3);
    Bytes core = {12, 0, 0, 0, 5, 0, 7, 0, 1, 0, 24, 0};
    core.resize(12 + 16 * 7, 0);
    EXPECT_EQ(Bitmap::FromBytes(core).Width(), 5);
    EXPECT_EQ(Bitmap::FromBytes(core).PixelOffset(), 12u);

    try {
        Bitmap::FromResource(L"00_ADVANCE");
        ADD_FAILURE() << "no exception";
    } catch (const ResourceNotFound& error) {
        EXPECT_EQ(error.Message(), L"Resource 00_ADVANCE not found");
    }
}

TEST_F(FormsApplicationTest, BrokenBitmapsAreErrorsNotCrashes) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> breakIt;
    };
    const Case cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"only the file header", [](Bytes& b) { b.resize(14); }},
        {"cut inside the information header", [](Bytes& b) { b.resize(30); }},
        {"unknown header size", [](Bytes& b) { Put32(b, 14, 41); }},
        {"header size beyond the data",
         [](Bytes& b) {
             Put32(b, 14, 124);
             b.resize(100);
         }},
        {"zero width", [](Bytes& b) { Put32(b, 18, 0); }},
        {"negative width", [](Bytes& b) { Put32(b, 18, 0xFFFFFFF0u); }},
        {"enormous height", [](Bytes& b) { Put32(b, 22, 0x7FFFFFFFu); }},
        {"most negative height", [](Bytes& b) { Put32(b, 22, 0x80000000u); }},
        {"two planes", [](Bytes& b) { Put16(b, 26, 2); }},
        {"odd bit count", [](Bytes& b) { Put16(b, 28, 7); }},
        {"unknown compression", [](Bytes& b) { Put32(b, 30, 9); }},
        {"more colours than the bits allow", [](Bytes& b) { Put32(b, 46, 300); }},
        {"colour table beyond the data",
         [](Bytes& b) {
             Put32(b, 46, 256);
             b.resize(60);
         }},
        {"pixel offset beyond the file", [](Bytes& b) { Put32(b, 10, 0x7FFFFFFFu); }},
        {"pixel offset inside the colour table", [](Bytes& b) { Put32(b, 10, 20); }},
        {"pixels cut short", [](Bytes& b) { b.pop_back(); }},
        {"run-length data without its size", [](Bytes& b) { Put32(b, 30, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = BitmapFile(4, 4, 8);
        c.breakIt(bytes);
        sim.resources().Add(L"BROKEN", ResourceType::Bitmap, bytes);
        try {
            Bitmap::FromResource(L"BROKEN");
            ADD_FAILURE() << "accepted";
        } catch (const platform::Exception& error) {
            EXPECT_EQ(error.Message(), L"Bitmap image is not valid");
        }
    }
}

// ---- Dump ----

TEST_F(FormsApplicationTest, TheDumpShowsTreeGeometryTextsAndStates) {
    struct TDumped : Form {
        TDumped()
            : Form(L"TDumped",
                   FormDesign{.caption = L"Reading",
                              .clientWidth = 334,
                              .clientHeight = 135,
                              .left = 512,
                              .top = 295,
                              .borderStyle = bsDialog,
                              .borderIcons = 0,
                              .formStyle = fsStayOnTop,
                              .cursor = crHourGlass}) {
            const ComponentDesign layout[] = {
                {.kind = ComponentKind::Label,
                 .name = L"lblWaiting",
                 .top = 40,
                 .width = 334,
                 .height = 13,
                 .anchors = akLeft | akTop | akRight,
                 .caption = L"Wait \"here\"",
                 .bold = true,
                 .autoSize = false,
                 .alignment = taCenter},
                {.kind = ComponentKind::Panel, .name = L"pnlBottom", .height = 36, .align = alBottom},
                {.kind = ComponentKind::Button,
                 .name = L"btnCancel",
                 .parent = L"pnlBottom",
                 .left = 10,
                 .top = 3,
                 .enabled = false,
                 .cancel = true},
                {.kind = ComponentKind::Timer, .name = L"tmrWaiting", .enabled = false, .interval = 500},
            };
            CreateComponents(*this, layout);
        }
    };
    auto form = MakeForm<TDumped>();
    const std::wstring expected =
        L"Form TDumped (512,295 340x164) \"Reading\" hidden font=[Tahoma 8] crHourGlass client 334x135 poDesigned "
        L"bsDialog icons=[] fsStayOnTop\n"
        L"  Label lblWaiting (0,40 334x13) \"Wait \\\"here\\\"\" anchors=[L,T,R] font=[Tahoma 8 bold] fixedSize "
        L"center\n"
        L"  Panel pnlBottom (0,99 334x36) align=alBottom\n"
        L"    Button btnCancel (10,3 75x25) disabled cancel\n"
        L"  Timer tmrWaiting interval=500 disabled\n";
    EXPECT_EQ(DumpForm(*form), expected);
}

}  // namespace
