#include "core/GxBinBuffer.h"

#include <gtest/gtest.h>

TEST(GxBinBuffer, AllocZeroFillsAndTakesOneReference)
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
}

TEST(GxBinBuffer, ReleaseFreesAtTheLastReference)
{
    GxBinBuffer buffer(8);
    buffer.AddRef();
    buffer.Release();
    EXPECT_NE(buffer.GetData(), nullptr);
    buffer.Release();
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0u);
    // At 0 a further release does nothing.
    buffer.Release();
    EXPECT_EQ(buffer.GetRefCount(), 0u);
}

TEST(GxBinBuffer, ReallocReplacesTheBytes)
{
    GxBinBuffer buffer(4);
    buffer.GetData()[0] = 9;
    buffer.Alloc(32);
    EXPECT_EQ(buffer.GetSize(), 32u);
    EXPECT_EQ(buffer.GetData()[0], 0);
    buffer.Free();
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetRefCount(), 0u);
    EXPECT_EQ(buffer.Alloc(0), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_EQ(buffer.First(), 0);
}
