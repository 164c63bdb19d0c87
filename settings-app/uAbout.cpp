#include "uAbout.h"

using namespace platform::forms;

namespace {

const FormDesign kAboutDesign = {
    .caption = L"About",
    .clientWidth = 298,
    .clientHeight = 96,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
};

const ComponentDesign kAboutLayout[] = {
    {.kind = ComponentKind::Label,
     .name = L"lblProductName",
     .field = &TAboutBox::lblProductName,
     .left = 16,
     .top = 16,
     .caption = L"Printer Settings"},
};

}  // namespace

TAboutBox::TAboutBox() : Form(L"TAboutBox", kAboutDesign) {
    BindLayout(*this, kAboutLayout);
}
