#pragma once

// Base of engine objects that must not be copied: locks, device resources, buffers that own memory.
class GxObjectNotCopyable
{
public:
    GxObjectNotCopyable() = default;
    virtual ~GxObjectNotCopyable() = default;
    GxObjectNotCopyable(const GxObjectNotCopyable&) = delete;
    GxObjectNotCopyable& operator=(const GxObjectNotCopyable&) = delete;
};
