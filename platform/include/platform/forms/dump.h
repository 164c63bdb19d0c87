#pragma once
// A text picture of a form for test failures and reviews: one line per component, indented under its parent
// (controls in z-order, then the components that have no place, such as timers), with kind, name, geometry
// relative to the parent, text in quotes and every state (colour included) that differs from the kind's default.
//
//   Form TfrmWaiting "Reading" (512,295 340x161) client 334x135 bsDialog icons=[] fsStayOnTop crHourGlass
//     Label lblWaiting (0,40 334x13) "Reading the printer ..." anchors=[L,T,R] center bold
//     Timer tmrWaiting interval=500 disabled

#include <string>

namespace platform::forms {

class Form;
class Component;

std::wstring DumpForm(const Form& form);
// One component's line without indentation or children.
std::wstring DumpComponent(const Component& component);

}  // namespace platform::forms
