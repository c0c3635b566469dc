#pragma once

#include <cstdint>
#include <string>

// The read-only configuration of one run. This far it holds the lookups that complete a file name
// written without extension by trying the extensions of its kind (GxSystemConfigResolve.cpp).
class GxSystemConfig
{
public:
    // Each leaves the path as it is and answers true when a file of that name exists (loose or in a mounted
    // pack); otherwise the first name with an extension appended that exists replaces the path. False,
    // with the path unchanged, when none exists.
    static bool ResolveImagePath(std::wstring& path); // ".png", ".dds", ".tga", ".jpg", ".bmp"
    static bool ResolveSoundPath(std::wstring& path); // ".ogg", ".wav"
    static bool ResolveMoviePath(std::wstring& path); // ".mpg", ".avi"
    static bool ResolveGncPath(std::wstring& path);   // ".gnc"
    // Tries the voice folder of each character (DBAvgChar rows 1 to 79 whose VoicePath is neither empty
    // nor "*"): the folder followed directly by the name, then with ".ogg", then with ".wav". The first
    // that exists replaces the name and its character row is returned; 0 with the name unchanged when no
    // folder holds it.
    static int32_t ResolveVoicePath(std::wstring& name);
};
