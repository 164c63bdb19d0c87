#pragma once
// What ties a window's layout to the window's class: the field that receives a component and the methods that
// handle its events. A layout table is plain data shared by every instance of a window, so a binding holds a
// pointer to member and is tied to one window object when that window is built (design.h, form.h).
//
// The compiler checks what it can: a field must be a pointer to a component class, a handler a method of the
// window whose parameters are the event's (or none). What depends on the table's other columns (the field's
// type against the component's kind, the method's class against the window being built) is checked when the
// window is built.

#include <concepts>
#include <functional>
#include <utility>

#include "platform/forms/component.h"

namespace platform::forms {

// A window's field of a component pointer type: `.field = &TfrmSetItem::btnSet`.
class FieldBinding {
public:
    enum class Result { Bound, OtherWindow, OtherType };

    FieldBinding() = default;
    // Not explicit: the tables' designated initializers convert the pointer to member.
    template <class W, std::derived_from<Component> C>
    FieldBinding(C* W::*field)
        : bind_([field](Component& window, Component& component) {
              W* self = dynamic_cast<W*>(&window);
              if (!self) {
                  return Result::OtherWindow;
              }
              C* typed = dynamic_cast<C*>(&component);
              if (!typed) {
                  return Result::OtherType;
              }
              self->*field = typed;
              return Result::Bound;
          }),
          holds_([field](Component& window, const Component& component) {
              return static_cast<const Component*>(dynamic_cast<W&>(window).*field) == &component;
          }) {}

    explicit operator bool() const { return static_cast<bool>(bind_); }
    // Stores the component in the window's field.
    Result Bind(Component& window, Component& component) const { return bind_(window, component); }
    // Whether the field holds the component (another entry of the table may have taken the field since).
    bool Holds(Component& window, const Component& component) const { return holds_(window, component); }

private:
    std::function<Result(Component&, Component&)> bind_;
    std::function<bool(Component&, const Component&)> holds_;
};

// A window's method as the handler of one event (Event: NotifyEvent, KeyPressEvent, CloseEvent ...):
// `.OnClick = &TfrmSetItem::btnSetClick`. A method without parameters ignores the event's arguments.
template <class Event>
class Handler {
public:
    Handler() = default;
    template <class W, class... A>
    requires std::constructible_from<Event, decltype(Method(std::declval<W*>(), std::declval<void (W::*)(A...)>()))>
    Handler(void (W::*method)(A...))  // not explicit, as above
        : bind_([method](Component& window) {
              W* self = dynamic_cast<W*>(&window);
              return self ? Event(Method(self, method)) : Event();
          }) {}

    explicit operator bool() const { return static_cast<bool>(bind_); }
    // The handler for that window; empty when the window is not of the method's class.
    Event Bind(Component& window) const { return bind_(window); }

private:
    std::function<Event(Component&)> bind_;
};

}  // namespace platform::forms
