#pragma once
// A text on a window. With AutoSize (the default) it takes the size its text needs in its font, measured by
// the backend: one line per line break, or, with WordWrap, lines broken to fit its width, after which it
// narrows to the widest line. A right-justified label keeps its right edge when it sizes itself. An empty text
// is measured as one blank, so an empty label keeps one line's height.

#include "platform/forms/control.h"

namespace platform::forms {

class Label : public Control {
public:
    explicit Label(Component* owner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    void TextChanged() override { AdjustBounds(); }
    void FontChanged() override { AdjustBounds(); }

private:
    void AdjustBounds();

    bool autoSize_ = true;
    bool wordWrap_ = false;
    TAlignment alignment_ = taLeftJustify;
};

}  // namespace platform::forms
