#pragma once
// The sim's model of Windows paths, which its file system and profile place files by.
//
// Paths are Windows paths. "/" and "\" both separate; letter case does not matter (ASCII and the common
// European alphabets); "." and ".." are resolved; trailing separators are ignored; "\\?\C:\x" is "C:\x" and
// "\\?\UNC\server\share\x" is "\\server\share\x"; UNC paths are their own roots. "\\?\NAME" and "\\.\NAME"
// (NAME not a drive) and the bare DOS device names ("LPT1", "COM2:", "PRN") name devices. A path that is none
// of these (relative, or rooted without a drive) cannot be placed: the sim has no current folder.
// Pure functions, any thread.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::sim {

// Upper case for comparing names as the platform does: ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and
// full-width Latin letters.
std::wstring FoldCase(const std::wstring& name);

// A path taken apart: the root ("C:", "\\server\share" or a device "\\.\NAME") and the names below it.
struct WindowsPath {
    std::wstring rootKey;
    std::wstring rootSpelling;
    std::vector<std::wstring> names;
    bool device = false;

    // Nothing for a path the sim cannot place.
    static std::optional<WindowsPath> From(const std::wstring& path);

    // The canonical key of the root and the first count names (upper case, "\" only, devices as "\\.\NAME").
    std::wstring Key(std::size_t count) const;
    std::wstring Key() const { return Key(names.size()); }
    // The same as spelt.
    std::wstring Spelling(std::size_t count) const;
    std::wstring Spelling() const { return Spelling(names.size()); }
};

// The canonical key of a Windows path; empty when the path is not one the sim can place.
std::wstring CanonicalPath(const std::wstring& path);

}  // namespace platform::sim
