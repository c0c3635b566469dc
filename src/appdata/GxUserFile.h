#pragma once

#include "platform/PfFileSystem.h"

#include <cstddef>
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
    // WriteToMemory, then the atomic writer. False (logged) leaves the old file as it was. A path that is
    // a link is written through: the file it points to is replaced, beside itself, and the link stays.
    static bool Save(const std::wstring& path, Form form, const char* kind, const Body& body);

    enum class Found
    {
        Bytes,     // read whole, not empty
        Missing,   // no file of that name: a first run
        Empty,     // logged
        NotAFile,  // a folder, a FIFO or a device has the name (or a link to one)
        Unreadable // a file is there but could not be opened or read (no permission, an I/O error)
    };
    // Reads the whole file; an unreadable one or one that is no file is not logged here, its reason (the
    // system's words, or what is there instead) goes to reason for the caller's line.
    static Found ReadFile(const std::wstring& path, std::string& bytes, const wchar_t* owner, std::wstring& reason);
    // ReadFile for callers that only need the bytes: a missing file gives false without a log line,
    // anything else but the bytes gives false with one.
    static bool LoadFile(const std::wstring& path, std::string& bytes, const wchar_t* owner);
    // The call ReadFile reads through: PfFileSystem::ReadWhole unless a test puts in one that refuses
    // as the system does a player without the rights (a test run by root reads even a mode-000 file).
    // Null puts the system's call back.
    using SystemRead = PfFileSystem::ReadResult (*)(const std::string& path, size_t maxBytes, std::string& bytes,
                                                    int& error);
    static void SetSystemRead(SystemRead read);
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
    // Moves a player's file that could not be taken to the first free name of DamagedPath, so the next
    // save cannot put a fresh record over it; each damaged file the player had keeps its own copy. A
    // link is followed: its target is moved and the link stays, to be written through. One log line says
    // where it went (what names the kind of data). False when it could not be moved (the copies are all
    // taken, the folder refuses): the file then stays where it is, also logged, and must not be written
    // over.
    static bool KeepAside(const std::wstring& path, const wchar_t* owner, const wchar_t* what);
    // ReadFile for a player's file that the exit and the slot saves write back: true with bytes to check.
    // Otherwise false, with loaded true where the file may be written (none there, empty: a first run)
    // and false, leftAlone set to the path and the player told once, where something is there that
    // cannot be read or is no file (a folder, a FIFO, a device, or a link to one: the player may have
    // put a link to /dev/null there so that nothing is kept): never replaced or written through in this
    // run, which goes on with the defaults.
    static bool ReadForLoad(const std::wstring& path, std::string& bytes, const wchar_t* owner, const wchar_t* what,
                            bool& loaded, std::wstring& leftAlone);
    // "<name>.damaged" for the first copy, then "<name>.damaged.1" up to ".damaged.<kMaxDamagedCopies - 1>".
    static std::wstring DamagedPath(const std::wstring& path, int copy = 0);
    static constexpr int kMaxDamagedCopies = 10;
};
