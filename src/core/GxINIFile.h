#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

class GxBinBuffer;

// A flat settings file of "key=value" lines in the system code page, read whole into memory. Keys are
// compared exactly (case matters); the first line of a key wins. Lines without "=" are ignored.
// LoadSection reads one "[section]" of a sectioned file in UTF-8 instead (the desktop's mimeapps.list
// and ".desktop" entries).
//
// The reader also remembers what an author would want to hear about a damaged or mistyped file: an
// empty file, a NUL byte that ends the text early, lines that are no "key=value", and keys that nothing
// asked for. DescribeProblems gives that as one line once every value has been read.
class GxINIFile
{
public:
    GxINIFile() = default;
    virtual ~GxINIFile() = default;

    // True when the file was read, even when it held no pair.
    bool Load(const std::wstring& path);
    // Only the pairs between the line "[section]" and the next line that begins with "[", the file read
    // as UTF-8. False, and nothing logged, when the file is not a loose regular file or cannot be read.
    bool LoadSection(const std::wstring& path, const std::wstring& section);
    void Clear();

    std::wstring GetString(const std::wstring& key, const std::wstring& defaultValue) const;
    // The value read as a base-10 integer (leading white space and a sign allowed, clamped to 32 bits).
    int GetInt(const std::wstring& key, int defaultValue) const;
    // True when the integer value is above 0.
    bool GetBool(const std::wstring& key, bool defaultValue) const;

    size_t GetCount() const { return m_Values.size(); }

    // What is wrong with the file last loaded, in one sentence without the file's name (the caller
    // names it); "" when nothing is. Keys count as unknown when no Get call has asked for them yet.
    std::wstring DescribeProblems() const;

private:
    const std::wstring* Find(const std::wstring& key) const;
    enum class Encoding
    {
        CodePage,
        Utf8
    };
    // Takes the loaded file (with its two terminating NULs); with a section, only the lines inside it.
    void Parse(const GxBinBuffer& buffer, Encoding encoding, const std::wstring* section);

    struct LineRef
    {
        int m_Number; // counted from 1
        std::wstring m_Text;
    };

    std::map<std::wstring, std::wstring> m_Values;
    std::vector<LineRef> m_KeyLines;      // the line of each key's first occurrence, in file order
    std::vector<LineRef> m_NotPairs;      // non-blank lines without "="
    mutable std::set<std::wstring> m_Asked;
    bool m_Empty = false;
    size_t m_NulOffset = std::wstring::npos; // where a NUL byte ended the text
};
