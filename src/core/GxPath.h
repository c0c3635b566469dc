#pragma once

#include <string>

// Helpers over wide-string paths. Paths inside the program use "/" as separator; "\\" is accepted
// wherever a separator is looked for, and ":" ends a drive prefix. No function changes its argument.
class GxPath
{
public:
    // The current directory with "/" separators and a trailing "/"; empty when it cannot be read.
    static std::wstring GetCurrentDir();
    // The user's documents folder: the variable XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR from the
    // user's user-dirs.dirs, else $HOME/Documents; no trailing separator; empty when none of them is known.
    static std::wstring GetMyDocumentsDir();
    static bool DirectoryExists(const std::wstring& path);
    // One level (parents are not made); false when it exists already or cannot be made.
    static bool CreateDirectory(const std::wstring& path);

    // path + separator unless the path is empty or ends in "\\" or "/".
    static std::wstring AddTrailingSeparator(const std::wstring& path, wchar_t separator = L'/');
    // The path without one trailing "\\" or "/".
    static std::wstring RemoveTrailingSeparator(const std::wstring& path);
    // name when folder is empty; folder + name when it ends in a separator; else folder + separator + name.
    static std::wstring Combine(const std::wstring& folder, const std::wstring& name, wchar_t separator = L'/');
    // Everything up to and including the last "\\", "/" or ":"; empty when there is none.
    static std::wstring GetDirectory(const std::wstring& path);
    // Everything after the last "\\", "/" or ":"; the whole path when there is none.
    static std::wstring GetFileName(const std::wstring& path);
    // The file name cut before its first "." (a.tar.gz gives a).
    static std::wstring GetBaseName(const std::wstring& path);
    // From the last ".", "\\", "/" or ":" to the end when that character is "." (dot included); else empty.
    static std::wstring GetExtension(const std::wstring& path);
    // The path up to its last "." followed by extension (which brings its own dot), when the path has an
    // extension; otherwise the path unchanged.
    static std::wstring ChangeExtension(const std::wstring& path, const std::wstring& extension);
    // GetExtension(path) equals extension, ASCII letters compared without case.
    static bool HasExtension(const std::wstring& path, const std::wstring& extension);
    // The absolute form of the path with "/" separators, "." and ".." resolved in the text (the path need
    // not exist); empty on failure.
    static std::wstring GetFullPath(const std::wstring& path);

    // The path as the operating system's file functions take it (UTF-8).
    static std::string ToNative(const std::wstring& path);
};
