#pragma once

#include <map>
#include <string>

// A flat settings file of "key=value" lines in the system code page, read whole into memory. Keys are
// compared exactly (case matters); the first line of a key wins. Lines without "=" are ignored.
// LoadSection reads one "[section]" of a sectioned file in UTF-8 instead (the desktop's mimeapps.list
// and ".desktop" entries).
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
    void Clear() { m_Values.clear(); }

    std::wstring GetString(const std::wstring& key, const std::wstring& defaultValue) const;
    // The value read as a base-10 integer (leading white space and a sign allowed, clamped to 32 bits).
    int GetInt(const std::wstring& key, int defaultValue) const;
    // True when the integer value is above 0.
    bool GetBool(const std::wstring& key, bool defaultValue) const;

    size_t GetCount() const { return m_Values.size(); }

private:
    // Adds the "key=value" pairs of the lines; with a section, only those inside it.
    void Parse(const std::wstring& text, const std::wstring* section);

    std::map<std::wstring, std::wstring> m_Values;
};
