#pragma once

#include "task/ui/GxTaskUIBase.h"

#include <string>

class GxTextureBase;

// A panel drawn from one picture file (UI type 8). The base of the text panels, the message and text
// windows, the text log and the list box. Its size is always the picture's.
class GxTaskUIPanelFx : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 8;

    GxTaskUIPanelFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                    int32_t localIndex = 0);
    ~GxTaskUIPanelFx() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;

    // Image name = the row's ImageSetName + ImageName + ".png", or empty without an ImageName.
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    // The picture from the texture factory; the widget takes its size. Without a picture the widget
    // has no size, so the pointer never hits it.
    bool LoadImages() override;
    int32_t ReleaseImages() override;

    const std::wstring& GetImageName() const { return m_ImageName; }
    GxTextureBase* GetTexture() const { return m_Texture; }

protected:
    // The picture at the world position with the actor's scale, turn and centre.
    void DrawImage();

    std::wstring m_ImageName;
    GxTextureBase* m_Texture = nullptr;
};
