#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The shared toolbox for wide text. All text inside the program is std::wstring (32-bit wchar_t);
// the narrow forms appear only at the edges: the "ANSI" code page (CP932), UTF-8 and UTF-16LE bytes.
//
// Formatting follows the Microsoft printf conventions the system's messages are written in:
//   in a wide format  %s / %ls / %ws take const wchar_t*, %S / %hs take const char* (CP932),
//                     %c takes a wide character, %C / %hc a narrow one;
//   in a narrow format %s takes const char*, %S / %ls / %ws take const wchar_t*;
//   %I64d / %I64u / %I64x (and %lld, %llu, %jd) take 64-bit integers, %I32d and %ld take 32-bit ones,
//   %Id / %zu take size-sized ones; %p prints the address as 16 upper-case hex digits.
// Floating-point output never depends on the process locale. The output is never cut, whatever its
// length; as the system's own formatter did, the result ends at the first NUL (a %c of 0 ends it).
// Nothing is ever written through %n: it prints nothing and its argument is skipped.
class GxString
{
public:
    // Trim modes (the numbers the callers pass).
    static constexpr int TrimNone = 0;
    static constexpr int TrimLeading = 1;  // every leading character with a code up to 32
    static constexpr int TrimTrailing = 2; // every trailing character with a code up to 32
    static constexpr int TrimBoth = 3;
    static constexpr int TrimLineEnds = 4; // leading and trailing CR and LF only (any mode above 3)

    // --- Formatting ---
    static std::wstring Format(const wchar_t* format, ...);
    static std::wstring FormatV(const wchar_t* format, va_list args);
    // Narrow format, the result converted from the ANSI code page to wide.
    static std::wstring FormatA(const char* format, ...);
    static std::wstring FormatAV(const char* format, va_list args);
    // Narrow format, narrow result (for narrow text written as it is).
    static std::string FormatNarrow(const char* format, ...);
    static std::string FormatNarrowV(const char* format, va_list args);

    static std::wstring FromInt(int32_t n);  // "%d"
    static std::wstring FromFloat(double x); // "%f", six decimals

    // --- Case, trimming and pieces ---
    static std::wstring ToLower(const std::wstring& s);                     // A-Z only
    static std::wstring ToUpper(const std::wstring& s);                     // a-z only
    static int CompareNoCase(const std::wstring& a, const std::wstring& b); // ASCII letters folded
    static std::wstring Trim(const std::wstring& s, int mode);
    static std::wstring CharAt(const std::wstring& s, int index);
    static std::wstring Join(const std::vector<std::wstring>& list, const std::wstring& separator);
    static wchar_t* Copy(wchar_t* destination, const wchar_t* source);

    // --- Searching and replacing (character indexes, -1 = not found) ---
    static int Find(const std::wstring& s, const std::wstring& what, int from = 0);
    static int FindFirstOf(const std::wstring& s, const std::wstring& set, int from = 0);
    static int FindLastOf(const std::wstring& s, const std::wstring& set, int from = -1);
    // An empty search text leaves the string unchanged.
    static std::wstring ReplaceAll(const std::wstring& s, const std::wstring& what, const std::wstring& with);
    static std::wstring ReplaceChar(const std::wstring& s, wchar_t from, wchar_t to);

    // --- Conversions (each reads its input up to the first NUL) ---
    // CP932 to wide. A byte sequence CP932 does not define becomes U+30FB, one per bad byte.
    static std::wstring ToWide(const char* narrow);
    static std::wstring ToWide(const std::string& narrow);
    // Wide to CP932. A character without a CP932 counterpart becomes "?".
    static std::string ToMultiByte(const std::wstring& wide);
    // UTF-8 to wide; ill-formed sequences become U+FFFD.
    static std::wstring FromUtf8(const char* narrow);
    static std::wstring FromUtf8(const std::string& narrow);
    // Wide to UTF-8; surrogates and values beyond U+10FFFF become U+FFFD.
    static std::string ToUtf8(const std::wstring& wide);
    // Wide to UTF-16 units. Characters above U+FFFF become surrogate pairs; a lone surrogate held in the
    // wide string passes through as it is, so UTF-16 text read in comes back out unchanged.
    static std::u16string ToUtf16(const std::wstring& wide);
    static std::wstring FromUtf16(const char16_t* units, size_t count);
    static std::wstring FromUtf16(const std::u16string& units);
    // The same as little-endian bytes (no byte-order mark); an odd last byte is ignored.
    static std::string ToUtf16LE(const std::wstring& wide);
    static std::wstring FromUtf16LE(const void* bytes, size_t byteCount);
    // Length of the text in UTF-16 units (the unit of the system's buffer lengths).
    static size_t CountUtf16Units(const std::wstring& wide);

    // --- Character width at fixed pitch ---
    // 1 for a half-width character (codes below 128, U+FF61..U+FFDC, U+FFE8..U+FFEE), 2 for any other.
    static int GetCharWidthUnits(wchar_t c);
    static int GetWidthUnits(const std::wstring& s);
    // The one-byte CP932 code of a single-byte character for the image fonts: codes up to 128 unchanged,
    // half-width katakana U+FF61..U+FF9F to 0xA1..0xDF, U+F8F1..U+F8F3 to 0xFD..0xFF; any other code keeps
    // its upper bits and gets the low byte 0xA0 (U+F8F0) or 0x20. Callers use the low byte.
    static uint32_t ToSingleByteCode(wchar_t c);

    // --- Fields and numbers (GxStringFields.cpp) ---
    // Cut at every occurrence of the separator, empty fields included; an empty separator gives the whole
    // text. Returns the number of fields.
    static int Tokenize(std::vector<std::string>& fields, const std::string& text, const std::string& separator);
    static int TokenizeW(std::vector<std::wstring>& fields, const std::wstring& text, const std::wstring& separator);
    // Exactly count fields: text past the count-th separator is dropped, missing fields are empty.
    static int Split(std::vector<std::wstring>& fields, const std::wstring& text, const std::wstring& separator,
                     int count);
    // Spaces and TABs, a sign ("+", "-" or their full-width forms), then digits of the base; base 0 reads
    // "0x" as hexadecimal, "0b" as binary and another leading "0" as octal (decimal with noOctal). The
    // value's low 32 bits with the sign; end (when given) is where the digits stopped.
    static int32_t ToInt(const wchar_t* text, const wchar_t** end = nullptr, int base = 0, bool noOctal = false);
    // 0 (no number), 1 (decimal) or 2 (hexadecimal "0x..."); length is the number's length with its sign.
    static int ScanNumber(const wchar_t* text, int* length, const wchar_t* end);
    // The cell at position: the text between a pair of double or single quotes (backslashes kept), or the
    // rest of the text when it does not open with a quote.
    static std::wstring Unquote(const std::wstring& text, size_t position = 0);
};
