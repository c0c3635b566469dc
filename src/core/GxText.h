#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Text files by their byte-order signature, and the low-level line and quoted-string readers that walk
// text in place. Narrow text is CP932 (the system code page) or UTF-8; wide text is UTF-16LE units.
class GxText
{
public:
    enum
    {
        kBomNone = 0,    // CP932, no signature
        kBomUtf8 = 1,    // EF BB BF
        kBomUtf16LE = 2, // FF FE
        kBomUtf16BE = 3, // FE FF, refused
    };

    // How narrow text is stepped: CP932 joins a lead byte and the byte after it into one character;
    // UTF-8 steps single bytes (no byte of a UTF-8 sequence is below 0x80, so none can be taken for a
    // line end or a quote).
    enum Charset
    {
        kCharsetAnsi,
        kCharsetUtf8,
    };

    static int DetectBOM(const uint8_t* bytes, size_t size);
    // Appends the file's lines, without their line ends, to lines. False for a missing, empty or
    // UTF-16BE file, each with one line in the error log naming the file. A NUL ends the text: the lines
    // before it are kept, and one line in the error log names the file and the NUL's line. When
    // endsInsideLine is given it tells whether the text's last line has no line feed after it, which is
    // how a file cut short usually looks (a text ended by a NUL is not: the NUL has been named instead).
    static bool LoadLines(std::vector<std::wstring>& lines, const std::wstring& name, bool skipEmpty,
                          bool* endsInsideLine = nullptr);
    // The same over a file's bytes already in memory, without the log lines (the caller names the file).
    // When nulLine is given it receives the line (from 1) on which a NUL ended the text, 0 for none.
    static bool ReadLines(std::vector<std::wstring>& lines, const uint8_t* bytes, size_t size, bool skipEmpty,
                          bool* endsInsideLine = nullptr, uint32_t* nulLine = nullptr);
    // LoadLines and ReadLines without the list: each line is handed to `each` as it is read, in one
    // string reused for every line, so a reader that takes a file line by line holds about the file and
    // not a string for each of its lines (an empty line kept in a list costs more than thirty times its
    // one byte). endsInsideLine and nulLine are set before the first line is handed over.
    using LineVisitor = std::function<void(const std::wstring& line)>;
    static bool LoadLines(const std::wstring& name, bool skipEmpty, const LineVisitor& each,
                          bool* endsInsideLine = nullptr);
    static bool ReadLines(const uint8_t* bytes, size_t size, bool skipEmpty, const LineVisitor& each,
                          bool* endsInsideLine = nullptr, uint32_t* nulLine = nullptr);

    // One line from start; position is set to where the next line begins. lineCount rises by one for
    // each LF passed. The reader stops on a NUL without passing it.
    static void ReadLine(std::string& out, const char* start, const char*& position, uint32_t& lineCount,
                         const char* end, Charset charset = kCharsetAnsi);
    static void ReadLineW(std::wstring& out, const char16_t* start, const char16_t*& position, uint32_t& lineCount,
                          const char16_t* end);
    // The same over wide text already in memory.
    static void ReadLineW(std::wstring& out, const wchar_t* start, const wchar_t*& position, uint32_t& lineCount,
                          const wchar_t* end);
    static void SkipLine(const char* start, const char*& position, uint32_t& lineCount, const char* end);
    // A double-quoted string at start (escapes \f \n \r \t \v, any other escaped character literally).
    // When start holds no quote, out is empty and position stays at start.
    static void ReadQuotedString(std::string& out, const char* start, const char*& position, uint32_t& lineCount,
                                 const char* end, Charset charset = kCharsetAnsi);
    static void ReadQuotedStringW(std::wstring& out, const char16_t* start, const char16_t*& position,
                                  uint32_t& lineCount, const char16_t* end);
    static void ReadQuotedStringW(std::wstring& out, const wchar_t* start, const wchar_t*& position,
                                  uint32_t& lineCount, const wchar_t* end);

    // True for a CP932 lead byte.
    static bool IsLeadByte(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
};
