#pragma once
// Text helpers shared by every module: the one place for trimming, comparing, the integer rules of the INI
// files, the format strings the program uses, splitting and hex digits. Pure functions, any thread.
// Implemented in text.cpp (strings), format.cpp, datetime.cpp and unicode.cpp.
//
// Positions follow the program's own convention: 1-based character positions, 0 for "not found".

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/clock.h"

namespace platform {

// Blanks and control characters: everything up to U+0020.
bool IsBlankOrControl(wchar_t c);

// Blanks and control characters at either end.
std::wstring Trim(const std::wstring& s);
std::wstring TrimLeft(const std::wstring& s);
std::wstring TrimRight(const std::wstring& s);

// Letter case of ASCII letters only, as the program's comparisons use it.
std::wstring UpperCase(const std::wstring& s);
std::wstring LowerCase(const std::wstring& s);
wchar_t UpperCase(wchar_t c);
wchar_t LowerCase(wchar_t c);
bool SameText(const std::wstring& a, const std::wstring& b);
// <0, 0, >0 comparing without regard to ASCII letter case.
int CompareText(const std::wstring& a, const std::wstring& b);

// 1-based position of sub in s (case-sensitive), 0 when absent; from is the 1-based start.
std::size_t Pos(const std::wstring& sub, const std::wstring& s, std::size_t from = 1);
// The same without regard to ASCII letter case.
std::size_t PosText(const std::wstring& sub, const std::wstring& s, std::size_t from = 1);
bool ContainsText(const std::wstring& s, const std::wstring& sub);
// count characters from the 1-based index (an index below 1 starts at the first character); parts past the
// end are simply absent (never throws).
std::wstring Copy(const std::wstring& s, std::ptrdiff_t index, std::ptrdiff_t count);
bool StartsWith(const std::wstring& s, const std::wstring& prefix);
bool StartsText(const std::wstring& s, const std::wstring& prefix);  // ignoring ASCII case
std::wstring ReplaceAll(const std::wstring& s, const std::wstring& from, const std::wstring& to);

// The integer rule of the INI files: optional sign and decimal digits, or hexadecimal after "0x"/"0X" or "$"
// (up to 8 hex digits, taken as 32 bits, so $FFFFFFFF is -1). Anything else, an empty text included, and
// values outside the 32-bit range give nothing.
std::optional<std::int32_t> TryParseInteger(const std::wstring& text);
std::int32_t StrToIntDef(const std::wstring& text, std::int32_t defaultValue);
// The same rule; a text that is no integer raises platform::Exception "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::wstring& text);

std::wstring IntToStr(std::int64_t value);
// Upper-case hex, at least digits wide.
std::wstring IntToHex(std::uint64_t value, int digits);
// 0..15 for a hexadecimal digit of either case, -1 otherwise.
int HexDigitValue(wchar_t c);

// Delphi-style formatting: %s, %d, %x, %X, %f, %u with optional "-", width and ".precision"
// (%.2d zero-pads to two digits, %.2X to two hex digits, %.2f two decimals), and %%. A format that names
// an argument that is missing or of the wrong kind yields the format text as it stands for that directive.
using FormatArg = std::variant<std::wstring, std::int64_t, double>;
std::wstring Format(const std::wstring& format, std::initializer_list<FormatArg> args);
std::wstring Format(const std::wstring& format, const std::vector<FormatArg>& args);

// Splits at every occurrence of delimiter; keeps empty parts ("a,,b" -> "a", "", "b"; "" -> one empty part).
std::vector<std::wstring> Split(const std::wstring& s, wchar_t delimiter);
// Comma text, as the options file's port list and the menu's rules hold it. Entries are separated by a comma
// or by blanks and control characters alone; blanks around a comma belong to neither side. An entry may be
// quoted, "" standing for one quote inside; an open quote runs to the end. Two commas in a row, or one at
// the end, give an empty entry ("a,,b" -> "a", "", "b"; "a," -> "a", ""). A zero character ends the text.
std::vector<std::wstring> SplitCommaText(const std::wstring& text);
// The lines of a text, split at CR LF, LF or CR ("" -> one empty line; a final line end adds an empty line).
std::vector<std::wstring> SplitLines(const std::wstring& s);

// A date or time in the platform's picture notation (see Locale): y yy yyyy, M MM MMM MMMM, d dd ddd dddd,
// H HH h hh, m mm, s ss, t tt, text in single quotes taken literally; other characters as they stand.
std::wstring FormatDateTime(const std::wstring& picture, const LocalTime& time);

// UTF-8 <-> wide text (for the program's own sources of text, tests and file names in the sim).
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);
// UTF-16LE code units <-> wide text.
std::wstring Utf16LeToWide(const std::uint8_t* data, std::size_t byteCount);
std::vector<std::uint8_t> WideToUtf16Le(const std::wstring& s);

}  // namespace platform
