#pragma once

#include "core/GxBit32.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;
class GxCore;

// Progress that outlives the save slots, kept in "permanent.dat": messages ever shown, choices ever
// taken, open replay scenes, pictures ever shown, 32 option bits and the script's permanent variables.
//
// A bit array holds bit n in word n / 32 at bit n % 32 (least significant first); setting a bit grows
// the array with zero words, testing one beyond the last word answers false.
class GxUserDataPerman
{
public:
    using BitArray = std::vector<uint32_t>;

    explicit GxUserDataPerman(GxCore* core);
    virtual ~GxUserDataPerman();

    void SetReadedMessage(int32_t message, const std::wstring& scriptName);
    bool IsReadedMessage(const std::wstring& scriptName, int32_t message) const;
    void SetSelectedMenu(int32_t choice, const std::wstring& menu);
    bool IsSelectedMenu(const std::wstring& menu, int32_t choice) const;
    // Every non-empty replay label of the table, and nothing else.
    void PassAllReplayLabels();
    // The file's base name (folders dropped, cut at its first ".").
    void SetShowedCG(const std::wstring& fileName);
    // Every picture of the gallery entry that holds the file; false when none does or its count is 0.
    bool SetShowedCGEntry(const std::wstring& fileName);
    // Every picture of every gallery entry, and nothing else.
    void ShowAllCG();

    // Writes through the atomic writer; false (logged) keeps the old file. False without writing for
    // the file Load left alone.
    bool Save(const std::wstring& path, bool binary);
    // Checks the whole file before taking anything; on false nothing has changed. A file that cannot be
    // taken is first moved to a backup name (GxUserFile::KeepAside, the first is BackupPath), so the
    // save at shut-down cannot put a fresh record over the only copy of the player's progress. One that
    // is there but cannot be read, or moved, is left alone: this object never writes over it, and what
    // the run reaches is held in memory only.
    bool Load(const std::wstring& path);
    // Whether Load has run and the player's file is either read or free to be written (none there: a
    // first run; a damaged one moved aside). Until then nothing of the player's progress is held, and
    // the shut-down does not write the record over the player's file.
    bool IsLoaded() const { return m_Loaded; }
    static std::wstring BackupPath(const std::wstring& path);

    void Write(GxContentWriterBase& writer) const;
    // Items 2 to 6 (the containers and the option bits) into this object; true without reader errors.
    bool ReadPlain(GxContentReaderBase& reader);

    GxCore* m_Core;
    std::map<std::wstring, BitArray> m_ReadedMessageFlags;
    std::map<std::wstring, BitArray> m_SelectedMenuFlags;
    std::set<std::wstring> m_PassedReplayLabels;
    std::map<std::wstring, int32_t> m_ShowedCGFlags;
    GxBit32 m_ExtraOption;

private:
    bool Apply(GxUserDataPerman& scratch, GxContentReaderBase& reader);

    bool m_Loaded = false;
    std::wstring m_LeftAlone; // the file Load could neither read nor move aside
};
