#pragma once
// Layout rows the two group dialogs share: an item panel with its name label and option list, the note in the
// group box grp1, and the buttons of the bottom panel. The note and the buttons follow the window's width.

#include "platform/forms/forms.h"

template <class W>
platform::forms::ComponentDesign ItemPanelDesign(const wchar_t* name,
                                                 platform::forms::Panel* W::*field,
                                                 const wchar_t* parent,
                                                 int left,
                                                 int top,
                                                 bool visible = true) {
    return {.kind = platform::forms::ComponentKind::Panel,
            .name = name,
            .field = field,
            .parent = parent,
            .left = left,
            .top = top,
            .width = 170,
            .height = 143,
            .visible = visible};
}

template <class W>
platform::forms::ComponentDesign ItemNameDesign(const wchar_t* name,
                                                platform::forms::Label* W::*field,
                                                const wchar_t* panel) {
    return {.kind = platform::forms::ComponentKind::Label,
            .name = name,
            .field = field,
            .parent = panel,
            .left = 7,
            .top = 6};
}

template <class W>
platform::forms::ComponentDesign ItemListDesign(const wchar_t* name,
                                                platform::forms::ListBox* W::*field,
                                                const wchar_t* panel) {
    using namespace platform::forms;
    return {.kind = ComponentKind::ListBox,
            .name = name,
            .field = field,
            .parent = panel,
            .left = 7,
            .top = 22,
            .width = 154,
            .height = 116,
            .anchors = akLeft | akTop | akRight | akBottom,
            .showHint = true};
}

template <class W>
platform::forms::ComponentDesign BottomButtonDesign(const wchar_t* name,
                                                    platform::forms::Button* W::*field,
                                                    int left,
                                                    void (W::*onClick)(),
                                                    bool cancel = false) {
    using namespace platform::forms;
    return {.kind = ComponentKind::Button,
            .name = name,
            .field = field,
            .parent = L"pnlBottom",
            .left = left,
            .top = 3,
            .width = 65,
            .height = 30,
            .anchors = akTop | akRight,
            .cancel = cancel,
            .OnClick = onClick};
}

// The word-wrapping note inside grp1 (of that size), kept clear of the box's frame.
template <class W>
platform::forms::ComponentDesign NoteLabelDesign(platform::forms::Label* W::*field, int boxWidth, int boxHeight) {
    using namespace platform::forms;
    return {.kind = ComponentKind::Label,
            .name = L"lblInfo",
            .field = field,
            .parent = L"grp1",
            .left = 8,
            .top = 18,
            .width = boxWidth - 16,
            .height = boxHeight - 24,
            .anchors = akLeft | akTop | akRight | akBottom,
            .bold = false,
            .autoSize = false,
            .wordWrap = true};
}
