#include "platform/sim/profile_sim.h"

#include <map>
#include <optional>
#include <set>

#include "platform/bytes.h"
#include "platform/sim/codepage_sim.h"
#include "platform/sim/files_sim.h"
#include "platform/sim/windows_path_sim.h"
#include "platform/text.h"

namespace platform::sim {

// How the sim reads a profile file:
// - a file beginning FF FE is UTF-16LE (an odd trailing byte spells nothing); anything else is 8-bit text in
//   the system code page, a UTF-8 byte-order mark included;
// - lines end at CR LF, LF or CR;
// - "[name]" opens a section (blanks around the name dropped, text after "]" ignored; a line "[name" without
//   "]" opens section "name"); lines before the first section belong to none;
// - "key=value" at the first "="; blanks around key and value dropped; a value in matching double or single
//   quotes loses them when read;
// - a line without "=" is a key without a value: listed among the section's keys, never read as a value;
// - lines beginning with ";" are ordinary lines whose key begins with ";" (so no ordinary key matches them)
//   and are left out of key listings, as comments;
// - names match without regard to letter case; the first section of a name and the first line of a key count.
// Writing keeps every line it does not change byte for byte, writes CR LF after the lines it adds, adds a
// missing key after the last key line of the section and a missing section (without a blank line before it)
// at the end of the file. A UTF-16LE file stays UTF-16LE; a new file is 8-bit text.
class SimProfile::Document {
public:
    enum class Kind { Other, Section, Entry, Bare };

    struct Line {
        std::size_t begin = 0;       // byte offsets into the file
        std::size_t contentEnd = 0;  // where the line terminator starts
        std::size_t end = 0;         // after the terminator
        Kind kind = Kind::Other;
        std::wstring name;  // section name or key as written
        std::wstring folded;
        std::wstring value;  // Entry: the value without surrounding blanks
    };

    Document(Bytes raw, std::uint32_t codePage) : raw_(std::move(raw)), codePage_(codePage) {
        utf16_ = raw_.size() >= 2 && raw_[0] == 0xFF && raw_[1] == 0xFE;
        if (utf16_) {
            SplitUtf16();
        } else {
            Split8Bit();
        }
    }

    const std::vector<Line>& lines() const { return lines_; }
    const Bytes& raw() const { return raw_; }

    // Index of the first header of the section, or none.
    std::optional<std::size_t> FindSection(const std::wstring& folded) const {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].kind == Kind::Section && lines_[i].folded == folded) {
                return i;
            }
        }
        return std::nullopt;
    }

    // One past the last line of the section whose header is at index header.
    std::size_t SectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines_.size() && lines_[i].kind != Kind::Section) {
            ++i;
        }
        return i;
    }

    static bool IsListedKey(const Line& line) {
        return (line.kind == Kind::Entry || line.kind == Kind::Bare) && !line.name.empty() && line.name[0] != L';';
    }

    // ---- editing: changes are collected, then the file is rebuilt around the untouched lines ----

    void ReplaceContent(std::size_t line, const std::wstring& text) { replaced_[line] = text; }
    void Remove(std::size_t line) { removed_.insert(line); }
    void InsertAfter(std::size_t line, const std::wstring& text) { inserted_[line].push_back(text); }
    void Append(const std::wstring& text) { appended_.push_back(text); }
    bool Changed() const { return !replaced_.empty() || !removed_.empty() || !inserted_.empty() || !appended_.empty(); }

    Bytes Build() const {
        Bytes out;
        out.reserve(raw_.size() + 256);
        if (utf16_) {
            out.insert(out.end(), raw_.begin(), raw_.begin() + 2);
        }
        bool endsWithBreak = true;  // whether the output so far ends with a line terminator (or is empty)
        auto putRaw = [&](std::size_t from, std::size_t to) {
            out.insert(out.end(), raw_.begin() + static_cast<std::ptrdiff_t>(from),
                       raw_.begin() + static_cast<std::ptrdiff_t>(to));
        };
        auto putNewLine = [&](const std::wstring& text) {
            if (!endsWithBreak) {
                Put(out, L"\r\n");
            }
            Put(out, text + L"\r\n");
            endsWithBreak = true;
        };
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Line& line = lines_[i];
            if (removed_.count(i) == 0) {
                auto replacement = replaced_.find(i);
                if (replacement != replaced_.end()) {
                    Put(out, replacement->second);
                } else {
                    putRaw(line.begin, line.contentEnd);
                }
                putRaw(line.contentEnd, line.end);
                endsWithBreak = line.end > line.contentEnd;
            }
            auto insertion = inserted_.find(i);
            if (insertion != inserted_.end()) {
                for (const auto& text : insertion->second) {
                    putNewLine(text);
                }
            }
        }
        for (const auto& text : appended_) {
            putNewLine(text);
        }
        return out;
    }

private:
    static bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f'; }

    static std::wstring TrimBlanks(const std::wstring& s) {
        std::size_t b = 0;
        std::size_t e = s.size();
        while (b < e && IsBlank(s[b])) {
            ++b;
        }
        while (e > b && IsBlank(s[e - 1])) {
            --e;
        }
        return s.substr(b, e - b);
    }

    void Put(Bytes& out, const std::wstring& text) const {
        if (utf16_) {
            Bytes bytes = WideToUtf16Le(text);
            out.insert(out.end(), bytes.begin(), bytes.end());
        } else {
            std::string bytes = SimCodePage::ToCodePage(codePage_, text);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    }

    void AddLine(std::size_t begin, std::size_t contentEnd, std::size_t end, const std::wstring& text) {
        Line line;
        line.begin = begin;
        line.contentEnd = contentEnd;
        line.end = end;
        std::wstring trimmed = TrimBlanks(text);
        if (!trimmed.empty() && trimmed[0] == L'[') {
            std::size_t close = trimmed.find(L']');
            line.kind = Kind::Section;
            line.name = TrimBlanks(trimmed.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
        } else if (!trimmed.empty()) {
            std::size_t eq = trimmed.find(L'=');
            if (eq == std::wstring::npos) {
                line.kind = Kind::Bare;
                line.name = trimmed;
            } else {
                line.kind = Kind::Entry;
                line.name = TrimBlanks(trimmed.substr(0, eq));
                line.value = TrimBlanks(trimmed.substr(eq + 1));
            }
        }
        line.folded = FoldCase(line.name);
        lines_.push_back(std::move(line));
    }

    void Split8Bit() {
        const std::size_t n = raw_.size();
        std::size_t begin = 0;
        while (begin < n) {
            std::size_t e = begin;
            while (e < n && raw_[e] != '\r' && raw_[e] != '\n') {
                ++e;
            }
            std::size_t next = e;
            if (next < n && raw_[next] == '\r') {
                ++next;
            }
            if (next < n && raw_[next] == '\n') {
                ++next;
            }
            std::string bytes(raw_.begin() + static_cast<std::ptrdiff_t>(begin),
                              raw_.begin() + static_cast<std::ptrdiff_t>(e));
            AddLine(begin, e, next, SimCodePage::FromCodePage(codePage_, bytes));
            begin = next;
        }
    }

    void SplitUtf16() {
        const std::size_t units = (raw_.size() - 2) / 2;
        auto unit = [this](std::size_t k) { return ReadLe16(raw_.data() + 2 + 2 * k); };
        std::size_t begin = 0;
        while (begin < units) {
            std::size_t e = begin;
            while (e < units && unit(e) != '\r' && unit(e) != '\n') {
                ++e;
            }
            std::size_t next = e;
            if (next < units && unit(next) == '\r') {
                ++next;
            }
            if (next < units && unit(next) == '\n') {
                ++next;
            }
            AddLine(2 + 2 * begin, 2 + 2 * e, 2 + 2 * next,
                    Utf16LeToWide(raw_.data() + 2 + 2 * begin, 2 * (e - begin)));
            begin = next;
        }
    }

    Bytes raw_;
    std::uint32_t codePage_;
    bool utf16_ = false;
    std::vector<Line> lines_;
    std::map<std::size_t, std::wstring> replaced_;
    std::set<std::size_t> removed_;
    std::map<std::size_t, std::vector<std::wstring>> inserted_;
    std::vector<std::wstring> appended_;
};

namespace {

// The value as the platform hands it out: quotes removed, cut at a NUL (the caller gets a C string) and at
// the longest text a profile value may have.
std::wstring ReturnedValue(std::wstring value) {
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == L'"' || value.front() == L'\'')) {
        value = value.substr(1, value.size() - 2);
    }
    std::size_t nul = value.find(L'\0');
    if (nul != std::wstring::npos) {
        value.resize(nul);
    }
    if (value.size() > kProfileValueMax) {
        value.resize(kProfileValueMax);
    }
    return value;
}

}  // namespace

std::shared_ptr<const SimProfile::Document> SimProfile::Load(const std::wstring& file) {
    auto raw = files_.ReadWholeFile(file);
    if (!raw) {
        return nullptr;
    }
    const std::wstring fileKey = CanonicalPath(file);
    const std::uint32_t codePage = codePage_.SystemCodePage();
    {
        std::lock_guard lock(parsedMutex_);
        for (auto it = parsed_.begin(); it != parsed_.end(); ++it) {
            if (it->fileKey == fileKey && it->codePage == codePage && it->doc->raw() == *raw) {
                parsed_.splice(parsed_.begin(), parsed_, it);
                return parsed_.front().doc;
            }
        }
    }
    auto doc = std::make_shared<const Document>(std::move(*raw), codePage);
    std::lock_guard lock(parsedMutex_);
    parsed_.push_front(Parsed{fileKey, codePage, doc});
    constexpr std::size_t kKept = 4;
    if (parsed_.size() > kKept) {
        parsed_.pop_back();
    }
    return doc;
}

std::wstring SimProfile::ReadString(const std::wstring& file,
                                    const std::wstring& section,
                                    const std::wstring& key,
                                    const std::wstring& defaultValue) {
    auto doc = Load(file);
    if (!doc) {
        return defaultValue;
    }
    auto header = doc->FindSection(FoldCase(section));
    if (!header) {
        return defaultValue;
    }
    const std::wstring folded = FoldCase(key);
    const std::size_t end = doc->SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const auto& line = doc->lines()[i];
        if (line.kind == Document::Kind::Entry && line.folded == folded) {
            return ReturnedValue(line.value);
        }
    }
    return defaultValue;
}

std::vector<std::wstring> SimProfile::ReadSectionKeys(const std::wstring& file, const std::wstring& section) {
    std::vector<std::wstring> keys;
    auto doc = Load(file);
    if (!doc) {
        return keys;
    }
    auto header = doc->FindSection(FoldCase(section));
    if (!header) {
        return keys;
    }
    std::set<std::wstring> seen;
    const std::size_t end = doc->SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const auto& line = doc->lines()[i];
        if (Document::IsListedKey(line) && seen.insert(line.folded).second) {
            keys.push_back(line.name);
        }
    }
    return keys;
}

std::vector<std::wstring> SimProfile::ReadSectionNames(const std::wstring& file) {
    std::vector<std::wstring> names;
    auto doc = Load(file);
    if (!doc) {
        return names;
    }
    std::set<std::wstring> seen;
    for (const auto& line : doc->lines()) {
        if (line.kind == Document::Kind::Section && !line.name.empty() && seen.insert(line.folded).second) {
            names.push_back(line.name);
        }
    }
    return names;
}

bool SimProfile::WriteString(const std::wstring& file,
                             const std::wstring& section,
                             const std::wstring& key,
                             const std::wstring& value) {
    return Modify(file, section, &key, &value);
}

bool SimProfile::DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    return Modify(file, section, &key, nullptr);
}

bool SimProfile::EraseSection(const std::wstring& file, const std::wstring& section) {
    return Modify(file, section, nullptr, nullptr);
}

// key null: erase every section of that name; value null: delete every line of the key in those sections;
// otherwise set the key in the first section of the name.
bool SimProfile::Modify(const std::wstring& file,
                        const std::wstring& section,
                        const std::wstring* key,
                        const std::wstring* value) {
    std::lock_guard lock(writeMutex_);
    auto raw = files_.ReadWholeFile(file);
    if (!raw && !value) {
        return true;  // nothing to delete
    }
    Document doc(raw ? std::move(*raw) : Bytes(), codePage_.SystemCodePage());
    const auto& lines = doc.lines();
    const std::wstring sectionFolded = FoldCase(section);
    const std::wstring keyFolded = key ? FoldCase(*key) : std::wstring();

    if (!value) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].kind != Document::Kind::Section || lines[i].folded != sectionFolded) {
                continue;
            }
            const std::size_t end = doc.SectionEnd(i);
            if (!key) {
                for (std::size_t k = i; k < end; ++k) {
                    doc.Remove(k);
                }
            } else {
                for (std::size_t k = i + 1; k < end; ++k) {
                    const auto& line = lines[k];
                    if ((line.kind == Document::Kind::Entry || line.kind == Document::Kind::Bare) &&
                        line.folded == keyFolded) {
                        doc.Remove(k);
                    }
                }
            }
        }
        return !doc.Changed() || files_.WriteWholeFile(file, doc.Build());
    }

    auto header = doc.FindSection(sectionFolded);
    if (!header) {
        doc.Append(L"[" + section + L"]");
        doc.Append(*key + L"=" + *value);
        return files_.WriteWholeFile(file, doc.Build());
    }
    const std::size_t end = doc.SectionEnd(*header);
    std::size_t lastKeyLine = *header;
    for (std::size_t i = *header + 1; i < end; ++i) {
        const auto& line = lines[i];
        if (line.kind == Document::Kind::Entry && line.folded == keyFolded) {
            doc.ReplaceContent(i, line.name + L"=" + *value);
            return files_.WriteWholeFile(file, doc.Build());
        }
        if (line.kind == Document::Kind::Entry || line.kind == Document::Kind::Bare) {
            if (line.name.empty() || line.name[0] != L';') {
                lastKeyLine = i;
            }
        }
    }
    doc.InsertAfter(lastKeyLine, *key + L"=" + *value);
    return files_.WriteWholeFile(file, doc.Build());
}

}  // namespace platform::sim
