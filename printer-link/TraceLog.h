#pragma once
// The diagnostic trace. The program marks its main steps with these calls so that the trace points stay where
// they belong, but in this program every call does nothing: no output, no state, no lock. The caller builds
// the texts and formats the numbers before the call; nothing here looks at them.

#include <initializer_list>
#include <string>

#include "platform/text.h"

class TTraceLog {
public:
    using Args = std::initializer_list<platform::FormatArg>;

    void EnterProc(const std::wstring& /*procName*/, const std::wstring& /*tag*/) const {}
    void LeaveProc(const std::wstring& /*procName*/, const std::wstring& /*tag*/) const {}
    void Message(const std::wstring& /*text*/) const {}
    void MessageFmt(const std::wstring& /*format*/, Args /*args*/) const {}
    void TaggedMessage(const std::wstring& /*text*/, const std::wstring& /*tag*/) const {}
    void TaggedMessageFmt(const std::wstring& /*format*/, Args /*args*/, const std::wstring& /*tag*/) const {}
    void ErrorMessage(const std::wstring& /*text*/) const {}
    void ErrorMessageFmt(const std::wstring& /*format*/, Args /*args*/) const {}
    void WarningMessage(const std::wstring& /*text*/) const {}
    void Mark() const {}
};

// A fresh empty trace object per call: there is nothing to create at start-up or release at exit.
inline TTraceLog TraceLog() {
    return {};
}
