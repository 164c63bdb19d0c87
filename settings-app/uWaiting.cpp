#include "uWaiting.h"

#include "GlobalString.h"
#include "Scheme.h"
#include "platform/text.h"

using namespace platform::forms;

namespace {

const FormDesign kWaitingDesign = {
    .clientWidth = 334,
    .clientHeight = 135,
    .left = 512,
    .top = 295,
    .position = poDesigned,
    .borderStyle = bsDialog,
    .borderIcons = 0,
    .formStyle = fsStayOnTop,
    .cursor = crHourGlass,
    .OnCreate = &TfrmWaiting::FormCreate,
    .OnShow = &TfrmWaiting::FormShow,
};

// The text stretches with the window and stays centred; the dots keep their distance to the right edge.
const ComponentDesign kWaitingLayout[] = {
    {.kind = ComponentKind::Label,
     .name = L"lblWaiting",
     .field = &TfrmWaiting::lblWaiting,
     .left = 0,
     .top = 44,
     .width = 334,
     .height = 13,
     .anchors = akLeft | akTop | akRight,
     .bold = true,
     .autoSize = false,
     .alignment = taCenter},
    {.kind = ComponentKind::Label,
     .name = L"lblDot",
     .field = &TfrmWaiting::lblDot,
     .left = 140,
     .top = 74,
     .width = 120,
     .height = 13,
     .anchors = akTop | akRight,
     .bold = true,
     .autoSize = false},
    {.kind = ComponentKind::Timer,
     .name = L"tmrWaiting",
     .field = &TfrmWaiting::tmrWaiting,
     .enabled = false,
     .interval = 500,
     .OnTimer = &TfrmWaiting::tmrWaitingTimer},
    {.kind = ComponentKind::Timer,
     .name = L"tmrClose",
     .field = &TfrmWaiting::tmrClose,
     .enabled = false,
     .interval = 200000,
     .OnTimer = &TfrmWaiting::tmrCloseTimer},
};

// The printer is busy with a job, or the program is reading it.
const ComponentText<TGlobalString> kWorkingTexts[] = {
    {L"TfrmWaiting", &TGlobalString::HintTitle},
    {L"lblWaiting", &TGlobalString::WaitingForPrinterWork},
};
const ComponentText<TGlobalString> kReadingTexts[] = {
    {L"TfrmWaiting", &TGlobalString::ReadingPrinter},
    {L"lblWaiting", &TGlobalString::WaitingForPrinterRW},
};

// Ten dots, each followed by a blank; the first 2 x m_nWaitingDot characters are shown.
const wchar_t kDotRow[] = L". . . . . . . . . . ";

}  // namespace

TfrmWaiting::TfrmWaiting() : Form(L"TfrmWaiting", kWaitingDesign) {
    BindLayout(*this, kWaitingLayout);
}

void TfrmWaiting::FormCreate() {
    m_nWaitingDot = 0;
    // In a queue name made of the 8-letter brand word, a blank and the model, positions 10 and 11 are the
    // model's first two characters.
    if (platform::Copy(g_strPrinterName, 10, 2) == L"KT") {
        ApplyTexts(*this, g_GlobalString, kWorkingTexts);
    } else {
        ApplyTexts(*this, g_GlobalString, kReadingTexts);
    }
    // The English texts are longer.
    if (g_GlobalString.Language == plEN) {
        SetWidth(Width() + 20);
    }
}

void TfrmWaiting::FormShow() {
    tmrWaiting->SetEnabled(true);
    tmrClose->SetEnabled(true);
}

void TfrmWaiting::tmrWaitingTimer() {
    m_nWaitingDot = m_nWaitingDot + 1;
    if (m_nWaitingDot > 6) {
        m_nWaitingDot = 0;
    }
    lblDot->SetCaption(platform::Copy(kDotRow, 1, 2 * m_nWaitingDot));
}

void TfrmWaiting::tmrCloseTimer() {
    Close();
}
