#pragma once

#include <cstdint>

// A set of 32 flags, stored by content records under its own tag so that it is not taken for a count.
class GxBit32
{
public:
    GxBit32() = default;
    explicit GxBit32(uint32_t bits) : m_Bits(bits) {}

    uint32_t GetBits() const { return m_Bits; }
    void SetBits(uint32_t bits) { m_Bits = bits; }
    bool IsSet(uint32_t index) const { return index < 32 && (m_Bits >> index) & 1u; }
    void Set(uint32_t index, bool on)
    {
        if (index >= 32)
            return;
        if (on)
            m_Bits |= 1u << index;
        else
            m_Bits &= ~(1u << index);
    }

    bool operator==(const GxBit32&) const = default;

    uint32_t m_Bits = 0;
};
