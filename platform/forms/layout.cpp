// Alignment and anchoring of a control's children.
#include <algorithm>
#include <cstdint>

#include "platform/forms/control.h"

namespace platform::forms {

void Control::RecordAnchorBase() {
    if (!parent_) {
        anchorBase_.valid = false;
        return;
    }
    anchorBase_.valid = true;
    anchorBase_.bounds = BoundsRect();
    anchorBase_.parentWidth = parent_->ClientWidth();
    anchorBase_.parentHeight = parent_->ClientHeight();
}

namespace {

// One axis: start and extent from the recorded ones when the parent's extent went from baseParent to parent.
void AnchorAxis(bool nearEdge, bool farEdge, int baseParent, int parent, int& start, int& extent) {
    const int delta = parent - baseParent;
    if (nearEdge && farEdge) {
        extent += delta;
    } else if (farEdge) {
        start += delta;
    } else if (!nearEdge && baseParent > 0) {
        // Neither edge: the centre keeps its place in proportion.
        const std::int64_t centre = start + extent / 2;
        start = static_cast<int>(centre * parent / baseParent) - extent / 2;
    }
}

}  // namespace

Rect Control::AnchoredBounds(int parentWidth, int parentHeight) const {
    int left = anchorBase_.bounds.left;
    int width = anchorBase_.bounds.Width();
    int top = anchorBase_.bounds.top;
    int height = anchorBase_.bounds.Height();
    AnchorAxis(anchors_ & akLeft, anchors_ & akRight, anchorBase_.parentWidth, parentWidth, left, width);
    AnchorAxis(anchors_ & akTop, anchors_ & akBottom, anchorBase_.parentHeight, parentHeight, top, height);
    return {left, top, left + std::max(width, 0), top + std::max(height, 0)};
}

void Control::Realign() {
    if (realigning_) {
        // A child changed size while being placed (a label sizing itself): place everything once more.
        realignAgain_ = true;
        return;
    }
    realigning_ = true;
    for (int pass = 0; pass < 4; ++pass) {
        realignAgain_ = false;
        const int clientWidth = ClientWidth();
        const int clientHeight = ClientHeight();
        const std::vector<Control*> children = children_;
        for (Control* child : children) {
            if (child->align_ == alNone && child->anchorBase_.valid) {
                Rect r = child->AnchoredBounds(clientWidth, clientHeight);
                child->ApplyBounds(r.left, r.top, r.Width(), r.Height());
            }
        }

        Rect room = AlignRect();
        for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
            std::vector<Control*> list;
            for (Control* child : children) {
                if (child->align_ == kind && child->visible_) {
                    list.push_back(child);
                }
            }
            std::stable_sort(list.begin(), list.end(), [kind](const Control* a, const Control* b) {
                switch (kind) {
                    case alTop:
                        return a->top_ < b->top_;
                    case alBottom:
                        return a->top_ + a->height_ > b->top_ + b->height_;
                    case alLeft:
                        return a->left_ < b->left_;
                    case alRight:
                        return a->left_ + a->width_ > b->left_ + b->width_;
                    default:
                        return false;
                }
            });
            for (Control* child : list) {
                const int w = std::max(room.Width(), 0);
                const int h = std::max(room.Height(), 0);
                switch (kind) {
                    case alTop:
                        child->ApplyBounds(room.left, room.top, w, child->height_);
                        room.top += child->height_;
                        break;
                    case alBottom:
                        child->ApplyBounds(room.left, room.bottom - child->height_, w, child->height_);
                        room.bottom -= child->height_;
                        break;
                    case alLeft:
                        child->ApplyBounds(room.left, room.top, child->width_, h);
                        room.left += child->width_;
                        break;
                    case alRight:
                        child->ApplyBounds(room.right - child->width_, room.top, child->width_, h);
                        room.right -= child->width_;
                        break;
                    default:
                        child->ApplyBounds(room.left, room.top, w, h);
                        break;
                }
            }
        }
        if (!realignAgain_) {
            break;
        }
    }
    realigning_ = false;
}

}  // namespace platform::forms
