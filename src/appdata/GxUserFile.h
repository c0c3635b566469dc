#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;

// The machinery the player's content files share ("userconf.dat", "permanent.dat", the save slots):
// records are written into memory through the content writers, then handed to GxAtomicFile, so a
// failed write keeps the old file; a record is read only after its header has been checked and a walk
// over every stored value has ended exactly at the end of the data, so a cut or damaged file is refused
// before anything of the live state is touched.
//
// Header of every file: the root tag ("B" + kind for the binary form, "T" + kind for the text form) and
// the version 100. A first byte "T" picks the text reader.
class GxUserFile
{
public:
    static constexpr uint32_t kVersion = 100;

    enum class Form
    {
        Binary,
        Text,
    };
    using Body = std::function<void(GxContentWriterBase&)>;

    // The header and the body into out, in the chosen form; false when a write failed.
    static bool WriteToMemory(std::string& out, Form form, const char* kind, const Body& body);
    // WriteToMemory, then the atomic writer. False (logged) leaves the old file as it was.
    static bool Save(const std::wstring& path, Form form, const char* kind, const Body& body);

    // Loads the whole file. A file that does not exist gives false without a log line (a first run has
    // none); an unreadable or empty one gives false with one.
    static bool LoadFile(const std::wstring& path, std::string& bytes, const wchar_t* owner);
    // Checks the bytes: the header of the kind ("CD", "GD", "PD") in the form the first byte names
    // (binaryOnly refuses the text form) and a walk over every value ending at the data's end. Logs the
    // first fault with the owner and the file name and answers false.
    static bool Check(const std::string& bytes, const char* kind, bool binaryOnly, const wchar_t* owner,
                      const std::wstring& path);
    // The header part of Check alone: a reader positioned after the header, or null after the log line.
    static std::unique_ptr<GxContentReaderBase> OpenChecked(const std::string& bytes, const char* kind, bool binaryOnly,
                                                            const wchar_t* owner, const std::wstring& path);
    // Skips every value from the reader's position to the end of the data: each tag must name a value
    // type, and lists, trees and strata must close in order and all be closed at the end.
    static bool Walk(GxContentReaderBase& reader);
    // A second reader at the same position over the same bytes.
    static std::unique_ptr<GxContentReaderBase> Clone(const GxContentReaderBase& reader);
    // A reader positioned after the header of bytes that passed Check.
    static std::unique_ptr<GxContentReaderBase> OpenReader(const std::string& bytes, const char* kind);
    // Renames a player's file that could not be taken to its name with ".damaged" appended, so the next
    // save cannot put a fresh record over the only copy; one log line says where it went (what names
    // the kind of data in the message).
    static void KeepAside(const std::wstring& path, const wchar_t* owner, const wchar_t* what);
    static std::wstring DamagedPath(const std::wstring& path) { return path + L".damaged"; }
};
