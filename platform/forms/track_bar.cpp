#include "platform/forms/track_bar.h"

#include <algorithm>

namespace platform::forms {

TrackBar::TrackBar(Component* owner) : Control(owner, ComponentKind::TrackBar) {}

void TrackBar::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    Changed(Change::Style | Change::State);
}

void TrackBar::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) {
        return;
    }
    position_ = position;
    Changed(Change::State);
    if (OnChange) {
        OnChange(*this);
    }
}

void TrackBar::SetPageSize(int pageSize) {
    if (pageSize == pageSize_) {
        return;
    }
    pageSize_ = pageSize;
    Changed(Change::Style);
}

}  // namespace platform::forms
