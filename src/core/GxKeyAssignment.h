#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Key and button assignments of the two players, with the defaults and the optional "key.ini" that
// overrides them. Keyboard codes are DirectInput key codes (0..255), game-device buttons are button
// numbers (0..127). Column 0 holds the first block of "key.ini", column 1 the second.
class GxKeyAssignment
{
public:
    static constexpr int kColumns = 2;
    static constexpr int kButtons = 8;
    static constexpr int kKeyCodes = 256;
    static constexpr int kPadButtons = 128;

    GxKeyAssignment();
    void SetDefault();

    // Reads "key.ini" when it exists; a missing file keeps the defaults. False only when no file. What
    // Parse finds wrong goes to the error log as one line naming the file.
    bool Load(const char* path);
    // Reads the text of a "key.ini": two blocks of 24 lines, one per column. Entries whose lines are
    // missing keep their defaults; values out of range are ignored and keep theirs. Returns what an
    // author should hear about the text ("" when nothing): value lines that hold no number or one out
    // of range, and a file that ends inside a block (ending after a whole block is normal).
    std::wstring Parse(const char* text, size_t size);

    int32_t m_DeviceType[kColumns]; // 0 keyboard, 1 game device 0, 2 game device 1
    int32_t m_Up[kColumns];
    int32_t m_Down[kColumns];
    int32_t m_Right[kColumns];
    int32_t m_Left[kColumns];
    int32_t m_Button[kColumns][kButtons];
    int32_t m_PadButton[kColumns][kButtons];
};
