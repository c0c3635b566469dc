// A decoded picture in processor memory: 32-bit pixels laid out as the engine's A8R8G8B8 (bytes blue,
// green, red, alpha), rows top first without padding. Every image reader produces this form; textures,
// flexible textures and surfaces convert from it into their own formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

class PfImage
{
public:
    // The largest picture any reader accepts: each side and the pixel count are bounded so a corrupt
    // header can never ask for more than 256 MiB.
    static constexpr uint32_t kMaxSide = 16384;
    static constexpr uint64_t kMaxPixels = 1ull << 26;

    static bool IsSizeAllowed(uint64_t width, uint64_t height)
    {
        return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
    }

    // Allocates a zeroed (transparent black) picture; false when the size is not allowed.
    bool Allocate(uint32_t width, uint32_t height) { return Make(width, height, true); }
    // For readers that write every pixel: the memory is not cleared first.
    bool AllocateUncleared(uint32_t width, uint32_t height) { return Make(width, height, false); }
    void Clear()
    {
        m_Pixels.reset();
        m_Width = m_Height = 0;
    }

    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    uint32_t GetPitch() const { return m_Width * 4; }
    bool IsEmpty() const { return !m_Pixels; }
    uint8_t* GetData() { return m_Pixels.get(); }
    const uint8_t* GetData() const { return m_Pixels.get(); }
    uint8_t* GetRow(uint32_t y) { return m_Pixels.get() + (size_t)y * GetPitch(); }
    const uint8_t* GetRow(uint32_t y) const { return m_Pixels.get() + (size_t)y * GetPitch(); }
    uint32_t GetPixel(uint32_t x, uint32_t y) const
    {
        const uint8_t* p = GetRow(y) + (size_t)x * 4;
        return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
    }
    void SetPixel(uint32_t x, uint32_t y, uint32_t argb)
    {
        uint8_t* p = GetRow(y) + (size_t)x * 4;
        p[0] = (uint8_t)argb;
        p[1] = (uint8_t)(argb >> 8);
        p[2] = (uint8_t)(argb >> 16);
        p[3] = (uint8_t)(argb >> 24);
    }

private:
    bool Make(uint32_t width, uint32_t height, bool cleared)
    {
        Clear();
        if (!IsSizeAllowed(width, height))
            return false;
        const size_t bytes = (size_t)width * height * 4;
        m_Pixels.reset(cleared ? new (std::nothrow) uint8_t[bytes]() : new (std::nothrow) uint8_t[bytes]);
        if (!m_Pixels)
            return false;
        m_Width = width;
        m_Height = height;
        return true;
    }

    std::unique_ptr<uint8_t[]> m_Pixels;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
};
