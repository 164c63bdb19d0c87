#include "LocaleParse.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace {

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Reads up to 5 digits at text[pos]; a longer run is no date or time number.
std::optional<int> ReadNumber(const std::wstring& text, std::size_t& pos) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (pos - start == 5) {
            return std::nullopt;
        }
        value = value * 10 + (text[pos] - L'0');
        ++pos;
    }
    if (pos == start) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TDateTime EncodeDateTime(const platform::LocalTime& t) {
    const std::int64_t days = DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
                              DaysFromCivil(1899, 12, 30);
    const double seconds = t.hour * 3600.0 + t.minute * 60.0 + t.second + t.millisecond / 1000.0;
    return static_cast<double>(days) + seconds / 86400.0;
}

std::optional<double> TryParseLocaleFloat(const std::wstring& text, wchar_t decimalSeparator) {
    const std::wstring s = platform::Trim(text);
    std::string ascii;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
        if (s[i] == L'-') {
            ascii += '-';
        }
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ascii += static_cast<char>(s[i++]);
        ++digits;
    }
    if (i < s.size() && s[i] == decimalSeparator) {
        ascii += '.';
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ascii += static_cast<char>(s[i++]);
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        ascii += 'e';
        ++i;
        if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
            ascii += static_cast<char>(s[i++]);
        }
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            ascii += static_cast<char>(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || end != ascii.data() + ascii.size()) {
        return std::nullopt;  // out of the range of a double
    }
    return value;
}

std::optional<TDateTime> TryParseLocaleDateTime(const std::wstring& text, const std::wstring& shortDateFormat) {
    // Order of year, month and day as the picture first names them.
    std::vector<wchar_t> order;
    for (wchar_t c : platform::LowerCase(shortDateFormat)) {
        if ((c == L'y' || c == L'm' || c == L'd') && std::find(order.begin(), order.end(), c) == order.end()) {
            order.push_back(c);
        }
    }
    if (order.size() != 3) {
        order = {L'y', L'm', L'd'};
    }

    const std::wstring s = platform::Trim(text);
    std::size_t pos = 0;
    int parts[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            // One separator of any kind other than a digit or a blank.
            if (pos >= s.size() || IsDigit(s[pos]) || platform::IsBlankOrControl(s[pos])) {
                return std::nullopt;
            }
            ++pos;
        }
        const auto n = ReadNumber(s, pos);
        if (!n) {
            return std::nullopt;
        }
        parts[k] = *n;
    }
    platform::LocalTime t;
    for (int k = 0; k < 3; ++k) {
        (order[k] == L'y' ? t.year : order[k] == L'm' ? t.month : t.day) = parts[k];
    }
    if (t.year < 100) {
        t.year += 2000;
    }
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month)) {
        return std::nullopt;
    }

    while (pos < s.size() && platform::IsBlankOrControl(s[pos])) {
        ++pos;
    }
    if (pos < s.size()) {
        int time[3] = {0, 0, 0};
        int count = 0;
        while (count < 3) {
            const auto n = ReadNumber(s, pos);
            if (!n) {
                return std::nullopt;
            }
            time[count++] = *n;
            if (pos < s.size() && s[pos] == L':') {
                ++pos;
                continue;
            }
            break;
        }
        while (pos < s.size() && platform::IsBlankOrControl(s[pos])) {
            ++pos;
        }
        const std::wstring marker = platform::UpperCase(s.substr(pos));
        if (marker == L"AM" || marker == L"PM") {
            if (time[0] < 1 || time[0] > 12) {
                return std::nullopt;
            }
            time[0] = time[0] % 12 + (marker == L"PM" ? 12 : 0);
        } else if (!marker.empty()) {
            return std::nullopt;
        }
        if (time[0] > 23 || time[1] > 59 || time[2] > 59) {
            return std::nullopt;
        }
        t.hour = time[0];
        t.minute = time[1];
        t.second = time[2];
    }
    return EncodeDateTime(t);
}
