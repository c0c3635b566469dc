#pragma once

#include <cstdint>
#include <string>

// The files of one save, written as one (GxUserDataPair): the adventure file, the strategy file and, for
// a numbered slot, the thumbnail that the screen which opened the save screen made. Slot saves and the
// quick save both write through here and the loads recover through it, so a save cut short by a kill is
// completed or dropped whole, its picture with it.
class SeqSavePair
{
public:
    // Slot n: "gamedata%03d.gd", "zordata%03d.gd" and "thumb%03d.png". The quick save: the quick-save
    // file of the system configuration and "zordata_quick.gd", no thumbnail. Paths are empty without a
    // save folder.
    static SeqSavePair Slot(int32_t slot);
    static SeqSavePair Quick();

    // Builds every file in memory (the strategy file only while the strategy game exists) and commits
    // them together. False (logged by the writers) leaves the old files as they were. Without a
    // thumbnail to write the slot is saved without one, and an older picture of the slot goes with the
    // commit, so the plate shows none rather than another save's.
    bool Save() const;
    // Completes or drops a save of these files that was cut short; the files are then one save again.
    void Recover() const;

    std::wstring m_Game;
    std::wstring m_Strategy;
    std::wstring m_Thumbnail;
};
