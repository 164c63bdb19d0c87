#pragma once
// A horizontal track bar. Position stays within Min and Max; OnChange runs whenever it changes, by the user
// or by code.

#include "platform/forms/control.h"

namespace platform::forms {

class TrackBar : public Control {
public:
    explicit TrackBar(Component* owner);

    int Min() const { return min_; }
    int Max() const { return max_; }
    // The position is brought into the new range without running OnChange.
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int position);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int pageSize);

    NotifyEvent OnChange;

protected:
    bool Focusable() const override { return true; }

private:
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int pageSize_ = 2;
};

}  // namespace platform::forms
