#include "sample_form.h"

namespace forms_contract {

using namespace platform::forms;

namespace {

const FormDesign kSampleDesign = {
    .caption = L"Sample settings",
    .clientWidth = 400,
    .clientHeight = 260,
    .left = 40,
    .top = 40,
    .borderStyle = bsSizeable,
};

// The panels first and the bottom one last, so that the tab order runs down the form and ends at its buttons.
const ComponentDesign kSampleLayout[] = {
    {.kind = ComponentKind::Panel, .name = L"pnlLeft", .width = 100, .align = alLeft, .bevelOuter = bvLowered},
    {.kind = ComponentKind::Label,
     .name = L"lblAuto",
     .parent = L"pnlLeft",
     .left = 8,
     .top = 8,
     .caption = L"Auto size"},
    {.kind = ComponentKind::Edit,
     .name = L"edtName",
     .left = 108,
     .top = 8,
     .width = 284,
     .height = 21,
     .anchors = akLeft | akTop | akRight},
    {.kind = ComponentKind::CheckBox,
     .name = L"chkBold",
     .left = 108,
     .top = 36,
     .width = 140,
     .height = 17,
     .caption = L"Bold text"},
    {.kind = ComponentKind::RadioGroup,
     .name = L"rgpMode",
     .left = 108,
     .top = 60,
     .width = 140,
     .height = 90,
     .caption = L"Mode"},
    {.kind = ComponentKind::ListBox,
     .name = L"lstItems",
     .left = 256,
     .top = 60,
     .width = 136,
     .height = 90,
     .anchors = akLeft | akTop | akRight | akBottom},
    {.kind = ComponentKind::ComboBox, .name = L"cmbPick", .left = 108, .top = 160, .width = 140, .height = 21},
    {.kind = ComponentKind::TrackBar,
     .name = L"trkLevel",
     .left = 256,
     .top = 158,
     .width = 136,
     .height = 30,
     .anchors = akLeft | akTop | akRight},
    {.kind = ComponentKind::Panel, .name = L"pnlBottom", .height = 40, .align = alBottom},
    {.kind = ComponentKind::Button,
     .name = L"btnOk",
     .parent = L"pnlBottom",
     .left = 228,
     .top = 7,
     .width = 80,
     .height = 26,
     .anchors = akTop | akRight,
     .caption = L"OK",
     .hint = L"Keeps the settings",
     .showHint = true,
     .isDefault = true},
    {.kind = ComponentKind::Button,
     .name = L"btnCancel",
     .parent = L"pnlBottom",
     .left = 312,
     .top = 7,
     .width = 80,
     .height = 26,
     .anchors = akTop | akRight,
     .caption = L"Cancel",
     .cancel = true},
    {.kind = ComponentKind::Timer, .name = L"tmrTick", .enabled = false, .interval = 100},
};

}  // namespace

TfrmSample::TfrmSample() : Form(L"TfrmSample", kSampleDesign) {
    CreateComponents(*this, kSampleLayout);
    Find<RadioGroup>(L"rgpMode")->SetItems({L"First", L"Second", L"Third"});
    Find<ListBox>(L"lstItems")->SetItems({L"Speed", L"Density", L"Width", L"Margin"});
    Find<ComboBox>(L"cmbPick")->SetItems({L"Letter", L"A4", L"Roll 80 mm"});
    for (const wchar_t* name : {L"btnOk", L"btnCancel", L"chkBold", L"rgpMode", L"lstItems"}) {
        Find<Control>(name)->OnClick = [this, name](Component&) { clicks.push_back(name); };
    }
    Find<Timer>(L"tmrTick")->OnTimer = [this](Component&) { ++ticks; };
}

}  // namespace forms_contract
