#pragma once

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// The script runtime's part of the player's files: the runtime's variables of one persistence class,
// the main worker's script entities of that class and, for a save slot, the main worker itself.
//
// Without a runtime (tools, tests, a start-up that has not created one yet) the same layout is written
// empty and read into scratch objects, so a file keeps one shape whether or not the script is up.
class GxUserScriptRecord
{
public:
    enum class Worker
    {
        Without,
        With,
    };

    static void Write(GxContentWriterBase& writer, int32_t persistClass, Worker worker);
    // Resets the class, then reads; true when the reader reported no error.
    static bool Read(GxContentReaderBase& reader, int32_t persistClass, Worker worker);
    // True when the last Read with the worker was refused for a position in a script the program lacks
    // (the runtime has logged which).
    static bool LastReadLackedScript();
};
