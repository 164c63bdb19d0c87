// Dates and times in the platform's picture notation.
#include "platform/text.h"

#include <algorithm>

namespace platform {

namespace {

const wchar_t* const kMonthNames[12] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                        L"July",    L"August",   L"September", L"October", L"November", L"December"};
const wchar_t* const kDayNames[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                     L"Thursday", L"Friday", L"Saturday"};

// 0 = Sunday, for the proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) {
        return 0;
    }
    if (month < 3) {
        year -= 1;
    }
    long long y = year;
    long long v = y + y / 4 - y / 100 + y / 400 + offsets[month - 1] + day;
    // floor division semantics for years before 0 are not needed by the program, but keep the index valid
    return static_cast<int>(((v % 7) + 7) % 7);
}

std::wstring Number(long long v, std::size_t minDigits) {
    std::wstring digits = IntToStr(v < 0 ? -v : v);
    if (digits.size() < minDigits) {
        digits.insert(0, minDigits - digits.size(), L'0');
    }
    return v < 0 ? L"-" + digits : digits;
}

}  // namespace

// Names of days and months are the English ones; the program's pictures use numbers only.
std::wstring FormatDateTime(const std::wstring& picture, const LocalTime& time) {
    std::wstring out;
    const std::size_t n = picture.size();
    std::size_t i = 0;
    while (i < n) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            // Quoted literal; two quotes in a row stand for one.
            ++i;
            while (i < n) {
                if (picture[i] == L'\'') {
                    if (i + 1 < n && picture[i + 1] == L'\'') {
                        out.push_back(L'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out.push_back(picture[i++]);
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < n && picture[i + run] == c) {
            ++run;
        }
        switch (c) {
            case L'y':
                if (run == 1) {
                    out += Number(time.year % 10, 1);
                } else if (run == 2) {
                    out += Number(time.year % 100, 2);
                } else {
                    out += Number(time.year, 4);
                }
                break;
            case L'M':
                if (run <= 2) {
                    out += Number(time.month, run);
                } else if (time.month >= 1 && time.month <= 12) {
                    std::wstring name = kMonthNames[time.month - 1];
                    out += run == 3 ? name.substr(0, 3) : name;
                }
                break;
            case L'd':
                if (run <= 2) {
                    out += Number(time.day, run);
                } else {
                    std::wstring name = kDayNames[DayOfWeek(time.year, time.month, time.day)];
                    out += run == 3 ? name.substr(0, 3) : name;
                }
                break;
            case L'H':
                out += Number(time.hour, std::min<std::size_t>(run, 2));
                break;
            case L'h': {
                int h = time.hour % 12;
                out += Number(h == 0 ? 12 : h, std::min<std::size_t>(run, 2));
                break;
            }
            case L'm':
                out += Number(time.minute, std::min<std::size_t>(run, 2));
                break;
            case L's':
                out += Number(time.second, std::min<std::size_t>(run, 2));
                break;
            case L't': {
                std::wstring marker = time.hour < 12 ? L"AM" : L"PM";
                out += run == 1 ? marker.substr(0, 1) : marker;
                break;
            }
            default:
                out.append(run, c);
                break;
        }
        i += run;
    }
    return out;
}

}  // namespace platform
