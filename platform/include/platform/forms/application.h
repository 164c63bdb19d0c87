#pragma once
// The application object: its title, main form and message loop, message boxes, and the handler that turns
// an exception escaping an event handler into an error box, as the original runtime did. One per backend;
// reached through application(). User-interface thread only.
//
// Exceptions: every event that starts outside the program (a user action, a timer tick, OnCreate, OnShow,
// OnDestroy, a modal form's OnClose) runs inside Dispatch. An exception it raises is shown in a message box
// with the application's title as caption, the error icon and an OK button: platform::ExternalException as
// "External exception %X" with its code, any other exception with its message (platform::Exception's
// Message()); a full stop is added when the text ends in a character above "." . The program then goes on.
// A FatalError is never caught there: it ends the run.

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/form.h"
#include "platform/message_box.h"

namespace platform::forms {

class Backend;

// The run cannot go on (a backend's event loop with nothing that could ever end it, a scripted user acting on
// a control that is not there). Event dispatch passes it on, so it reaches whoever drives the run.
class FatalError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class Application {
public:
    explicit Application(Backend& backend) : backend_(backend) {}
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The title of the program's taskbar entry and the caption of its error boxes; when empty, the program's
    // file name without its extension.
    std::wstring Title() const;
    void SetTitle(const std::wstring& title);

    // The first form made by CreateForm (set once its OnCreate has run).
    Form* MainForm() const { return mainForm_; }
    // Makes a form owned by the application until DestroyForms.
    template <class T, class... A>
    T* CreateForm(A&&... args) {
        T* form = new T(std::forward<A>(args)...);
        owned_.push_back(form);
        form->AfterConstruction();
        if (!mainForm_) {
            mainForm_ = form;
        }
        return form;
    }
    // Frees the forms CreateForm made, the last first (running their OnDestroy when withEvents).
    void DestroyForms(bool withEvents = true);

    // Shows the main form and handles messages until the application terminates (the main form closes).
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Handles every pending window message (timers due included) and returns; never waits.
    void ProcessMessages();
    // Brings the program's windows to the front of the desktop.
    void BringToFront();
    // Synthesises a key press or release as if typed (the platform's keybd_event); 0x11 is Ctrl.
    void KeyEvent(std::uint8_t virtualKey, bool keyUp);

    // A message box through the platform's message boxes (named so that no platform macro can clash).
    MsgResult ShowMessageBox(const std::wstring& text,
                             const std::wstring& caption,
                             MsgIcon icon,
                             MsgButtons buttons = MsgButtons::OK);
    // Shows the error box for an exception that escaped an event handler.
    void HandleException(const std::exception& error);
    // Runs f as an event: exceptions other than FatalError end in HandleException.
    template <class F>
    void Dispatch(F&& f) {
        try {
            std::forward<F>(f)();
        } catch (const FatalError&) {
            throw;
        } catch (const std::exception& error) {
            HandleException(error);
        }
    }

    // Every form that exists, in creation order.
    const std::vector<Form*>& Forms() const { return forms_; }
    // The first existing form of that class, or null.
    Form* FindForm(const std::wstring& className) const;

    // Form bookkeeping, called by Form.
    void FormCreated(Form* form);
    void FormGone(Form* form);

private:
    Backend& backend_;
    std::wstring title_;
    Form* mainForm_ = nullptr;
    std::vector<Form*> owned_;
    std::vector<Form*> forms_;
    bool terminated_ = false;
};

// The application of the current platform's forms backend.
Application& application();

}  // namespace platform::forms
