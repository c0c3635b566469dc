#pragma once

#include <string>

// The variable dumps' file form: UTF-16LE text that opens with the mark FF FE, every "\n" written as
// CR LF (the form a text editor on the developer's machine opens as Unicode text). Written through the
// atomic writer, so a dump never leaves half a file over the last one.
class GxMoaDumpFile
{
public:
    // The bytes of the file for the text.
    static std::string Encode(const std::wstring& text);
    // Writes the file afresh. A folder that does not exist is skipped silently (false); a failed write
    // is logged by the writer.
    static bool Write(const std::wstring& path, const std::wstring& text);
};
