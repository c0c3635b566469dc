#pragma once

#include "media/GxSoundLoaderBase.h"

#include <memory>
#include <string>

// The streaming decoder for a file chosen by its extension, ASCII case ignored: ".wav" the plain PCM
// decoder, or the converting one when the file's format chunk names a compressed form; ".ogg" Ogg Vorbis.
class GxSoundLoaderFactory
{
public:
    // Null for any other extension.
    static std::unique_ptr<GxSoundLoaderBase> CreateForFile(const std::wstring& name);
    // Opens a decoder made by CreateForFile.
    static bool Open(GxSoundLoaderBase& decoder, const std::wstring& name);
};
