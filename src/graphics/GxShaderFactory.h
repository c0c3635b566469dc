// Shader effects by name, each read from its ".fx" file once.
#pragma once

#include "graphics/GxResourceFactory.h"

#include <string>

class GxShaderEffect;

class GxShaderFactory : public GxResourceFactory
{
public:
    GxShaderFactory();
    static GxShaderFactory& GetInstance();

    GxShaderEffect* Get(const std::wstring& name, bool skipValidation);
    GxShaderEffect* GetA(const char* name, bool skipValidation);
    GxShaderEffect* Find(const std::wstring& name);
    GxShaderEffect* FindA(const char* name);
    void Release(GxShaderEffect* effect);
};
