#pragma once

// The base of the drawable 3D objects.
class GxModelBase
{
public:
    virtual ~GxModelBase() = default;
};
