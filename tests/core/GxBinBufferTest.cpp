#include "core/GxBinBuffer.h"

#include <gtest/gtest.h>

TEST(GxBinBuffer, AllocReallocReleaseAndFree)
{
    GxBinBuffer buffer;
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.First(), 0);
    uint8_t* data = buffer.Alloc(16);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(buffer.GetSize(), 16u);
    EXPECT_EQ(buffer.GetRefCount(), 1u);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(data[i], 0);
    data[0] = 'T';
    EXPECT_EQ(buffer.First(), 'T');
    // A second reference keeps the bytes; the last release frees them.
    buffer.AddRef();
    buffer.Release();
    EXPECT_NE(buffer.GetData(), nullptr);
    buffer.Release();
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0u);
    // At 0 a further release does nothing.
    buffer.Release();
    EXPECT_EQ(buffer.GetRefCount(), 0u);
    // A new allocation replaces the bytes.
    GxBinBuffer other(4);
    other.GetData()[0] = 9;
    other.Alloc(32);
    EXPECT_EQ(other.GetSize(), 32u);
    EXPECT_EQ(other.GetData()[0], 0);
    other.Free();
    EXPECT_EQ(other.GetData(), nullptr);
    EXPECT_EQ(other.GetRefCount(), 0u);
    EXPECT_EQ(other.Alloc(0), nullptr);
    EXPECT_EQ(other.GetSize(), 0u);
    EXPECT_EQ(other.First(), 0);
}
