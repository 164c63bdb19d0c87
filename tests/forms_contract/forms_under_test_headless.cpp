// The headless backend under test: a fresh sim platform per test. Its "native" state is the model's own; the
// user's clicks are the notifications the scripted user makes, and message boxes are answered from the sim's
// queue.
#include "forms_under_test.h"
#include "platform/sim/sim_platform.h"

namespace forms_contract {
namespace {

using namespace platform::forms;

class HeadlessUnderTest : public FormsUnderTest {
public:
    const char* Name() const override { return "headless"; }

    Rect Bounds(const Control& control) override { return control.BoundsRect(); }
    Rect ClientRect(const Form& form) override { return form.ClientRect(); }
    bool Visible(const Control& control) override { return sim_.forms().HasNative(control) && control.Showing(); }
    bool Enabled(const Control& control) override { return control.Enabled(); }
    std::optional<std::wstring> Text(const Control& control) override {
        if (const auto* edit = dynamic_cast<const Edit*>(&control)) {
            return edit->Text();
        }
        return control.Caption();
    }
    int Selection(const Control& control) override {
        if (const auto* list = dynamic_cast<const ListBox*>(&control)) {
            return list->ItemIndex();
        }
        if (const auto* combo = dynamic_cast<const ComboBox*>(&control)) {
            return combo->ItemIndex();
        }
        if (const auto* radio = dynamic_cast<const RadioGroup*>(&control)) {
            return radio->ItemIndex();
        }
        if (const auto* track = dynamic_cast<const TrackBar*>(&control)) {
            return track->Position();
        }
        if (const auto* check = dynamic_cast<const CheckBox*>(&control)) {
            return check->Checked() ? 1 : 0;
        }
        return -1;
    }
    const Control* Focused(const Form& form) override { return form.ActiveControl(); }
    std::wstring TaskbarTitle() override { return sim_.forms().ApplicationTitle(); }
    bool HasTaskbarButton() override { return true; }

    void Click(Control& control, int item) override {
        application().Dispatch([&] {
            if (control.CanFocus()) {
                control.SetFocus();
            }
            if (auto* list = dynamic_cast<ListBox*>(&control); list && item >= 0) {
                list->UserClickItem(item, sim_.forms().CtrlHeld());
            } else if (auto* radio = dynamic_cast<RadioGroup*>(&control); radio && item >= 0) {
                radio->UserClickItem(item);
            } else {
                control.Click();
            }
        });
    }
    // The contract does not name the box's text: any text is expected, the answer is the user's.
    void AnswerNextBox(platform::MsgResult answer) override {
        sim_.messageBoxes().ExpectBox(platform::sim::ExpectedBox{.text = L"", .part = true, .answer = answer});
    }
    std::optional<SeenBox> LastBox() override {
        const auto shown = sim_.messageBoxes().Shown();
        if (shown.empty()) {
            return std::nullopt;
        }
        return SeenBox{shown.back().caption, shown.back().text};
    }

private:
    platform::sim::SimPlatform sim_;
};

}  // namespace

std::unique_ptr<FormsUnderTest> MakeFormsUnderTest() {
    return std::make_unique<HeadlessUnderTest>();
}

}  // namespace forms_contract
