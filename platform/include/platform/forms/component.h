#pragma once
// The root of the component model: a named thing with an owner. An owner destroys the components it owns
// (the last created first); a component destroyed earlier leaves its owner's list by itself. Names are found
// without regard to letter case. User-interface thread only.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/forms/types.h"

namespace platform::forms {

class Backend;
class Component;

// The handler of a plain event; sender is the component the event belongs to.
using NotifyEvent = std::function<void(Component& sender)>;

class Component {
public:
    Component(Component* owner, ComponentKind kind);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    ComponentKind Kind() const { return kind_; }
    const std::wstring& Name() const { return name_; }
    void SetName(std::wstring name) { name_ = std::move(name); }
    Component* Owner() const { return owner_; }
    std::int32_t Tag() const { return tag_; }
    void SetTag(std::int32_t tag) { tag_ = tag; }

    // Owned components in creation order.
    const std::vector<Component*>& Components() const { return components_; }
    // An owned component by name, or null.
    Component* FindComponent(const std::wstring& name) const;
    // The same, typed; a missing name or another type is a programming error of the window's layout.
    template <class T>
    T* Find(const std::wstring& name) const {
        T* found = dynamic_cast<T*>(FindComponent(name));
        if (!found) {
            throw std::logic_error("no component of the expected type: " + NarrowName(name));
        }
        return found;
    }

    // The windowing backend this component was made under (the current platform's at construction).
    Backend& backend() const { return *backend_; }

protected:
    static std::string NarrowName(const std::wstring& name);
    // Frees the owned components now; every derived destructor calls it first, so that they go while the
    // whole owner still exists.
    void DestroyComponents();

private:
    ComponentKind kind_;
    std::wstring name_;
    Component* owner_;
    std::int32_t tag_ = 0;
    std::vector<Component*> components_;
    Backend* backend_;
};

// A handler bound to a method: Method(this, &TfrmX::FormShow). A method without parameters ignores the event's
// arguments; otherwise its parameters are the event's.
template <class T>
auto Method(T* self, void (T::*method)()) {
    return [self, method](auto&&...) { (self->*method)(); };
}
template <class T, class... A>
auto Method(T* self, void (T::*method)(A...)) {
    return [self, method](A... args) { (self->*method)(std::forward<A>(args)...); };
}

}  // namespace platform::forms
