#include "core/GxColor.h"

namespace
{
float SaturateChannel(float c)
{
    // Written so that NaN, which fails every comparison, ends up at 0.
    if (c > 1.0f)
        return 1.0f;
    return c >= 0.0f ? c : 0.0f;
}

uint32_t ChannelByte(float c)
{
    return static_cast<uint32_t>(c * 255.0f);
}
} // namespace

GxVector4 GxColor::FromARGB(uint32_t argb)
{
    return GxVector4(static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f);
}

GxVector4 GxColor::Saturate(const GxVector4& colour)
{
    return GxVector4(SaturateChannel(colour.x), SaturateChannel(colour.y), SaturateChannel(colour.z),
                     SaturateChannel(colour.w));
}

uint32_t GxColor::ToARGB(const GxVector4& colour)
{
    const GxVector4 c = Saturate(colour);
    return ChannelByte(c.w) << 24 | ChannelByte(c.x) << 16 | ChannelByte(c.y) << 8 | ChannelByte(c.z);
}
