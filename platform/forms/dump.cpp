#include "platform/forms/dump.h"

#include "platform/forms/buttons.h"
#include "platform/forms/containers.h"
#include "platform/forms/edits.h"
#include "platform/forms/form.h"
#include "platform/forms/label.h"
#include "platform/forms/lists.h"
#include "platform/forms/timer.h"
#include "platform/forms/track_bar.h"
#include "platform/text.h"

namespace platform::forms {

namespace {

std::wstring Quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'\r':
                out += L"\\r";
                break;
            case L'\n':
                out += L"\\n";
                break;
            case L'\t':
                out += L"\\t";
                break;
            case L'"':
                out += L"\\\"";
                break;
            case L'\\':
                out += L"\\\\";
                break;
            default:
                out.push_back(c);
        }
    }
    return out + L"\"";
}

std::wstring Number(std::int64_t v) {
    return IntToStr(v);
}

std::wstring ColorName(TColor color) {
    switch (color) {
        case clBlack:
            return L"clBlack";
        case clMaroon:
            return L"clMaroon";
        case clGreen:
            return L"clGreen";
        case clNavy:
            return L"clNavy";
        case clGray:
            return L"clGray";
        case clRed:
            return L"clRed";
        case clBlue:
            return L"clBlue";
        case clWhite:
            return L"clWhite";
        case clWindowText:
            return L"clWindowText";
        case clWindow:
            return L"clWindow";
        case clBtnFace:
            return L"clBtnFace";
        default:
            return L"$" + IntToHex(color, 8);
    }
}

// The colour a control of that kind has until the program sets one.
TColor DefaultColor(ComponentKind kind) {
    switch (kind) {
        case ComponentKind::Edit:
        case ComponentKind::MaskEdit:
        case ComponentKind::ListBox:
        case ComponentKind::ComboBox:
            return clWindow;
        default:
            return clBtnFace;
    }
}

std::wstring AlignName(TAlign align) {
    static const wchar_t* const names[] = {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"};
    return align <= alClient ? names[align] : L"?";
}

std::wstring AnchorText(TAnchors anchors) {
    std::wstring parts;
    auto add = [&parts](const wchar_t* part) {
        if (!parts.empty()) {
            parts += L",";
        }
        parts += part;
    };
    if (anchors & akLeft) {
        add(L"L");
    }
    if (anchors & akTop) {
        add(L"T");
    }
    if (anchors & akRight) {
        add(L"R");
    }
    if (anchors & akBottom) {
        add(L"B");
    }
    return L"[" + parts + L"]";
}

std::wstring CursorName(TCursor cursor) {
    static const wchar_t* const names[] = {L"crDefault", L"crArrow", L"crHourGlass", L"crHandPoint", L"crIBeam"};
    return cursor <= crIBeam ? names[cursor] : L"?";
}

std::wstring FontText(const TFont& font) {
    std::wstring out = L"[" + font.name + L" " + Number(font.size);
    if (font.bold) {
        out += L" bold";
    }
    if (font.italic) {
        out += L" italic";
    }
    if (font.underline) {
        out += L" underline";
    }
    if (font.color != clWindowText) {
        out += L" " + ColorName(font.color);
    }
    return out + L"]";
}

std::wstring ItemsText(const std::vector<std::wstring>& items) {
    std::wstring out = L"[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i ? L", " : L"") + Quoted(items[i]);
    }
    return out + L"]";
}

std::wstring BitmapText(const Bitmap& bitmap) {
    return (bitmap.Name().empty() ? std::wstring(L"bitmap") : bitmap.Name()) + L"(" + Number(bitmap.Width()) + L"x" +
           Number(bitmap.Height()) + L")";
}

void AddKindDetails(const Component& component, std::wstring& line) {
    auto add = [&line](const std::wstring& part) { line += L" " + part; };
    if (const auto* form = dynamic_cast<const Form*>(&component)) {
        static const wchar_t* const positions[] = {L"poDesigned", L"poScreenCenter", L"poMainFormCenter"};
        static const wchar_t* const borders[] = {L"bsNone",   L"bsSingle",     L"bsSizeable",
                                                 L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"};
        add(L"client " + Number(form->ClientWidth()) + L"x" + Number(form->ClientHeight()));
        add(positions[form->Position()]);
        add(borders[form->BorderStyle()]);
        std::wstring icons;
        const TBorderIcons bi = form->BorderIcons();
        if (bi & biSystemMenu) {
            icons += L"systemMenu";
        }
        if (bi & biMinimize) {
            icons += std::wstring(icons.empty() ? L"" : L",") + L"minimize";
        }
        if (bi & biMaximize) {
            icons += std::wstring(icons.empty() ? L"" : L",") + L"maximize";
        }
        if (bi & biHelp) {
            icons += std::wstring(icons.empty() ? L"" : L",") + L"help";
        }
        add(L"icons=[" + icons + L"]");
        if (form->FormStyle() == fsStayOnTop) {
            add(L"fsStayOnTop");
        }
        if (form->Modal()) {
            add(L"modal");
        }
        if (form->ModalResult() != mrNone) {
            add(L"modalResult=" + Number(form->ModalResult()));
        }
        if (form->ActiveControl()) {
            add(L"focus=" + form->ActiveControl()->Name());
        }
    } else if (const auto* label = dynamic_cast<const Label*>(&component)) {
        if (!label->AutoSize()) {
            add(L"fixedSize");
        }
        if (label->WordWrap()) {
            add(L"wordWrap");
        }
        if (label->Alignment() == taCenter) {
            add(L"center");
        } else if (label->Alignment() == taRightJustify) {
            add(L"right");
        }
    } else if (const auto* button = dynamic_cast<const Button*>(&component)) {
        if (button->Default()) {
            add(L"default");
        }
        if (button->Cancel()) {
            add(L"cancel");
        }
        if (button->ModalResult() != mrNone) {
            add(L"modalResult=" + Number(button->ModalResult()));
        }
        if (const auto* bitBtn = dynamic_cast<const BitBtn*>(&component); bitBtn && !bitBtn->Glyph().Empty()) {
            add(L"glyph=" + BitmapText(bitBtn->Glyph()));
        }
    } else if (const auto* check = dynamic_cast<const CheckBox*>(&component)) {
        if (check->Checked()) {
            add(L"checked");
        }
    } else if (const auto* list = dynamic_cast<const ListBox*>(&component)) {
        if (list->MultiSelect()) {
            add(L"multiSelect");
        }
        if (list->TabWidth()) {
            add(L"tabWidth=" + Number(list->TabWidth()));
        }
        add(L"items=" + ItemsText(list->Items()));
        add(L"index=" + Number(list->ItemIndex()));
        if (list->MultiSelect()) {
            std::wstring chosen;
            for (int i = 0; i < static_cast<int>(list->Items().size()); ++i) {
                if (list->Selected(i)) {
                    chosen += (chosen.empty() ? L"" : L",") + Number(i);
                }
            }
            add(L"selected={" + chosen + L"}");
        }
    } else if (const auto* combo = dynamic_cast<const ComboBox*>(&component)) {
        add(L"items=" + ItemsText(combo->Items()));
        add(L"index=" + Number(combo->ItemIndex()));
    } else if (const auto* radio = dynamic_cast<const RadioGroup*>(&component)) {
        add(L"items=" + ItemsText(radio->Items()));
        add(L"index=" + Number(radio->ItemIndex()));
        if (radio->Columns() != 1) {
            add(L"columns=" + Number(radio->Columns()));
        }
    } else if (const auto* track = dynamic_cast<const TrackBar*>(&component)) {
        add(L"range=" + Number(track->Min()) + L".." + Number(track->Max()));
        add(L"position=" + Number(track->Position()));
        add(L"pageSize=" + Number(track->PageSize()));
    } else if (const auto* panel = dynamic_cast<const Panel*>(&component)) {
        static const wchar_t* const bevels[] = {L"bvNone", L"bvLowered", L"bvRaised"};
        if (panel->BevelOuter() != bvRaised) {
            add(std::wstring(L"outer=") + bevels[panel->BevelOuter()]);
        }
        if (panel->BevelInner() != bvNone) {
            add(std::wstring(L"inner=") + bevels[panel->BevelInner()]);
        }
    } else if (const auto* scroll = dynamic_cast<const ScrollBox*>(&component)) {
        if (!scroll->BrushBitmap().Empty()) {
            add(L"brush=" + BitmapText(scroll->BrushBitmap()));
        }
    } else if (const auto* timer = dynamic_cast<const Timer*>(&component)) {
        add(L"interval=" + Number(timer->Interval()));
        add(timer->Enabled() ? L"enabled" : L"disabled");
    }
}

void DumpTree(const Control& control, int depth, std::wstring& out) {
    out.append(static_cast<std::size_t>(depth) * 2, L' ');
    out += DumpComponent(control);
    out += L"\n";
    for (const Control* child : control.Controls()) {
        DumpTree(*child, depth + 1, out);
    }
}

}  // namespace

std::wstring DumpComponent(const Component& component) {
    std::wstring line = KindName(component.Kind());
    if (const auto* form = dynamic_cast<const Form*>(&component)) {
        line += L" " + form->ClassName();
    }
    if (!component.Name().empty()) {
        line += L" " + component.Name();
    }
    const auto* control = dynamic_cast<const Control*>(&component);
    if (control) {
        line += L" (" + Number(control->Left()) + L"," + Number(control->Top()) + L" " + Number(control->Width()) +
                L"x" + Number(control->Height()) + L")";
        if (!control->Caption().empty()) {
            line += L" " + Quoted(control->Caption());
        }
        if (!control->Visible()) {
            line += L" hidden";
        }
        if (!control->Enabled()) {
            line += L" disabled";
        }
        if (control->Align() != alNone) {
            line += L" align=" + AlignName(control->Align());
        } else if (control->Anchors() != (akLeft | akTop)) {
            line += L" anchors=" + AnchorText(control->Anchors());
        }
        const Control* parent = control->Parent();
        if (!parent || !(parent->Font() == control->Font())) {
            line += L" font=" + FontText(control->Font());
        }
        if (control->Color() != DefaultColor(control->Kind())) {
            line += L" color=" + ColorName(control->Color());
        }
        if (control->Cursor() != crDefault) {
            line += L" " + CursorName(control->Cursor());
        }
        if (!control->Hint().empty()) {
            line += L" hint=" + Quoted(control->Hint());
        }
        if (control->ShowHint()) {
            line += L" showHint";
        }
    }
    if (component.Tag() != 0) {
        line += L" tag=" + Number(component.Tag());
    }
    AddKindDetails(component, line);
    return line;
}

std::wstring DumpForm(const Form& form) {
    std::wstring out;
    DumpTree(form, 0, out);
    // Then what has no place on the form: timers, and controls without a parent.
    for (const Component* component : form.Components()) {
        const auto* control = dynamic_cast<const Control*>(component);
        if (!control || !control->Parent()) {
            out += L"  " + DumpComponent(*component) + (control ? L" (no parent)" : L"") + L"\n";
        }
    }
    return out;
}

}  // namespace platform::forms
