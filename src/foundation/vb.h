// vb.h — the text, number and date rules the whole program shares.
//
// Text is UTF-8 in std::string; positions count bytes and start at 1 (0 = not
// found); case-blind compares fold ASCII letters only. Amounts, dates and
// numbers follow the program's long-standing rules: CLng rounds half to even,
// Val reads the leading number and ignores blanks, Trim removes blanks only.
#pragma once

#include <QDateTime>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

enum Compare { Binary = 0, Text = 1 };

// 1-based search of `needle` in `hay` from `start`; 0 when absent. An empty needle gives `start`.
long InStr(long start, std::string_view hay, std::string_view needle, Compare cmp = Binary);
inline long InStr(std::string_view hay, std::string_view needle, Compare cmp = Binary) {
    return InStr(1, hay, needle, cmp);
}
// Last occurrence at or before `start` (-1 = from the end); 0 when absent.
long InStrRev(std::string_view hay, std::string_view needle, long start = -1, Compare cmp = Binary);

std::string Mid(std::string_view s, long start, long length = -1);
std::string Left(std::string_view s, long n);
std::string Right(std::string_view s, long n);
inline long Len(std::string_view s) { return static_cast<long>(s.size()); }

std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Trim(std::string_view s);   // blanks (spaces) only
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string Replace(std::string_view s, std::string_view find, std::string_view with, Compare cmp = Binary);
std::vector<std::string> Split(std::string_view s, std::string_view delimiter);
std::string Join(const std::vector<std::string>& parts, std::string_view delimiter);
std::string Space(long n);
std::string String(long n, char c);
bool EqualText(std::string_view a, std::string_view b);   // StrComp(a, b, vbTextCompare) = 0
int StrComp(std::string_view a, std::string_view b, Compare cmp = Binary);  // -1, 0, 1
bool Like(std::string_view s, std::string_view pattern);  // '*', '?', '#' and [..] classes

// Numbers.
bool IsNumeric(std::string_view s);       // a whole text that reads as a number ("1,234.5", " 7 ", "-3")
double Val(std::string_view s);            // leading number; blanks ignored; "" or junk gives 0
double CDbl(std::string_view s);           // IsNumeric text ("," grouping allowed); 0 otherwise
// Half to even; beyond the 64-bit range the nearest end of it, not a number 0.
long long RoundHalfEven(double v);
long CLng(double v);
// `v` rounded half to even into `out` when the result lies in the 32-bit range; false otherwise
// (and for not a number), `out` then unchanged.
bool RoundToInt32(double v, long& out);
long CLng(std::string_view s);
int CInt(double v);
std::string Str(double v);                 // plain decimal text without a leading blank

// Format(number, pattern) for the patterns the program uses: "0", "00", "000",
// "0.00", "#,##0", "#,##0.00", "#0.00", "##0.00".
std::string FormatNumber(double v, std::string_view pattern);

// Dates.
// The system's general date: short date, a blank, long time ("dd/MM/yyyy HH:mm:ss").
std::string GeneralDate(const QDateTime& t);
std::string ShortDate(const QDate& d);
std::string LongTime(const QTime& t);
// Format(date, pattern) with the program's patterns: d dd ddd dddd m mm mmm mmmm yy yyyy
// h hh n nn s ss am/pm AM/PM ampm ; "/" and ":" are written as they stand.
std::string FormatDate(const QDateTime& t, std::string_view pattern);
// Reads a date/time text as the program writes it (short date and long time of the
// user's locale, or ISO "yyyy-mm-dd hh:mm:ss"); invalid when it does not read.
QDateTime CDate(std::string_view s);
bool IsDate(std::string_view s);
// DateDiff("s", a, b) = whole seconds from a to b.
long long DateDiffSeconds(const QDateTime& a, const QDateTime& b);

// Screen measures: 15 twips per pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;
inline int PixelsToTwips(int px) { return px * kTwipsPerPixel; }
inline int TwipsToPixels(int tw) { return tw / kTwipsPerPixel; }

inline constexpr const char* vbCrLf = "\r\n";

// A run-time error the program raises itself (number, source and description, as Err.Raise).
struct RuntimeError : std::runtime_error {
    RuntimeError(long number, std::string source, const std::string& description)
        : std::runtime_error(description), Number(number), Source(std::move(source)) {}
    long Number;
    std::string Source;
};

}  // namespace vb
