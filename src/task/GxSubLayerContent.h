#pragma once

#include "core/GxVector2.h"

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;
class GxTextureFlex;

// One further image drawn over a layer's image content at an offset. The image itself is never stored; a
// loaded record rebuilds it with Restore.
class GxSubLayerContent
{
public:
    GxSubLayerContent() = default;
    GxSubLayerContent(const GxSubLayerContent&) = delete;
    GxSubLayerContent& operator=(const GxSubLayerContent&) = delete;
    virtual ~GxSubLayerContent();

    // True unless the writer or reader counted errors; Load clears first.
    virtual bool Save(GxContentWriterBase* writer);
    virtual bool Load(GxContentReaderBase* reader);
    void Clear();
    // Clears, then loads the file; false for an empty name or a failed load.
    bool SetImage(const std::wstring& fileName);
    // Loads the stored file again; false when there is none or it fails.
    bool Restore();

    GxTextureFlex* m_pImage = nullptr; // owned
    int32_t m_Alpha = 255;             // stored, not drawn
    std::wstring m_ContentFileName;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    GxVector2 m_OffsetPos;

private:
    bool LoadImage();
};
