#include "uWarning.h"

#include "GlobalString.h"

using namespace platform::forms;

namespace {

const FormDesign kWarningDesign = {
    .clientWidth = 323,
    .clientHeight = 193,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .OnCreate = &TfrmWarning::FormCreate,
};

// The buttons keep their distance to the bottom, so they follow when the blue line's group goes away.
const ComponentDesign kWarningLayout[] = {
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &TfrmWarning::grp1,
     .left = 8,
     .top = 4,
     .width = 307,
     .height = 100},
    {.kind = ComponentKind::Label,
     .name = L"lblTitle",
     .field = &TfrmWarning::lblTitle,
     .parent = L"grp1",
     .left = 10,
     .top = 20,
     .width = 287,
     .height = 72,
     .autoSize = false,
     .wordWrap = true},
    {.kind = ComponentKind::GroupBox,
     .name = L"grp2",
     .field = &TfrmWarning::grp2,
     .left = 8,
     .top = 110,
     .width = 307,
     .height = 40},
    {.kind = ComponentKind::Label,
     .name = L"lblTitle2",
     .field = &TfrmWarning::lblTitle2,
     .parent = L"grp2",
     .left = 10,
     .top = 17,
     .fontColor = clBlue},
    {.kind = ComponentKind::BitBtn,
     .name = L"btnOK",
     .field = &TfrmWarning::btnOK,
     .left = 140,
     .top = 159,
     .width = 80,
     .height = 26,
     .anchors = akLeft | akBottom,
     .isDefault = true,
     .OnClick = &TfrmWarning::btnOKClick},
    {.kind = ComponentKind::BitBtn,
     .name = L"btnCancel",
     .field = &TfrmWarning::btnCancel,
     .left = 232,
     .top = 159,
     .width = 80,
     .height = 26,
     .anchors = akLeft | akBottom,
     .cancel = true,
     .OnClick = &TfrmWarning::btnCancelClick},
};

const ComponentText<TGlobalString> kWarningTexts[] = {
    {L"TfrmWarning", &TGlobalString::SpecialNoteTitle},
    {L"lblTitle2", &TGlobalString::OnlyForTechnical},
    {L"btnOK", &TGlobalString::ParametersBtnOK},
    {L"btnCancel", &TGlobalString::ParametersBtnCancel},
};

// The note starts indented like a paragraph.
const wchar_t kIndent[] = L"        ";

}  // namespace

TfrmWarning::TfrmWarning() : Form(L"TfrmWarning", kWarningDesign) {
    BindLayout(*this, kWarningLayout);
}

void TfrmWarning::FormCreate() {
    m_bAffirm = false;
    ApplyTexts(*this, g_GlobalString, kWarningTexts);
    lblTitle->SetCaption(kIndent + g_GlobalString.SpecialNote);
    if (g_GlobalString.OnlyForTechnical.empty()) {
        lblTitle2->Hide();
        grp2->Hide();
        SetHeight(Height() - grp2->Height());
    }
}

void TfrmWarning::btnOKClick() {
    m_bAffirm = true;
    Close();
}

void TfrmWarning::btnCancelClick() {
    m_bAffirm = false;
    Close();
}
