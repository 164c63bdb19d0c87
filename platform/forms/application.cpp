#include "platform/forms/application.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/forms/backend.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/types.h"

namespace platform::forms {

Application::~Application() = default;

std::wstring Application::Title() const {
    if (!title_.empty()) {
        return title_;
    }
    std::wstring path = platform::files().ProgramPath();
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = file.find_last_of(L'.');
    return dot == std::wstring::npos ? file : file.substr(0, dot);
}

void Application::SetTitle(const std::wstring& title) {
    title_ = title;
    backend_.SetApplicationTitle(title);
}

void Application::DestroyForms(bool withEvents) {
    while (!owned_.empty()) {
        Form* form = owned_.back();
        owned_.pop_back();
        if (withEvents) {
            form->BeforeDestruction();
        } else {
            form->destroying_ = true;
        }
        delete form;
    }
    mainForm_ = nullptr;
}

// As the original runtime: the main form is shown even when the application was told to end during its
// creation, and the loop then ends at once.
void Application::Run() {
    if (!mainForm_) {
        return;
    }
    mainForm_->Show();
    backend_.RunLoop(*mainForm_, false, [this] { return terminated_; });
}

void Application::ProcessMessages() {
    backend_.ProcessMessages();
}

void Application::BringToFront() {
    backend_.BringToFront(nullptr);
}

void Application::KeyEvent(std::uint8_t virtualKey, bool keyUp) {
    backend_.KeyEvent(virtualKey, keyUp);
}

MsgResult Application::ShowMessageBox(const std::wstring& text,
                                      const std::wstring& caption,
                                      MsgIcon icon,
                                      MsgButtons buttons) {
    return platform::messageBoxes().Show(text, caption, icon, buttons);
}

void Application::HandleException(const std::exception& error) {
    std::wstring text;
    if (const auto* external = dynamic_cast<const platform::ExternalException*>(&error)) {
        text = Format(L"External exception %X", {static_cast<std::int64_t>(external->Code())});
    } else if (const auto* own = dynamic_cast<const platform::Exception*>(&error)) {
        text = own->Message();
    } else {
        text = Utf8ToWide(error.what());
    }
    if (!text.empty() && static_cast<std::uint32_t>(text.back()) > L'.') {
        text += L'.';
    }
    ShowMessageBox(text, Title(), MsgIcon::Error, MsgButtons::OK);
}

Form* Application::FindForm(const std::wstring& className) const {
    for (Form* form : forms_) {
        if (form->ClassName() == className) {
            return form;
        }
    }
    return nullptr;
}

void Application::FormCreated(Form* form) {
    forms_.push_back(form);
}

void Application::FormGone(Form* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    owned_.erase(std::remove(owned_.begin(), owned_.end(), form), owned_.end());
    if (mainForm_ == form) {
        mainForm_ = nullptr;
    }
}

Application& application() {
    return platform::formsBackend().application();
}

}  // namespace platform::forms
