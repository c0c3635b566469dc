#pragma once

// Base of the profiler.
class GxProfile
{
public:
    virtual ~GxProfile() = default;
};
