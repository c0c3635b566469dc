#pragma once

// Image-set widgets over a real device: a scratch folder made the current one, a "uigis/ui_test.gis" set
// packed there from solid pictures and put into the image-set pool, and the widget tree of
// WidgetTestSupport.h.
#include "WidgetTestSupport.h"

#include "graphics/GraphicsTestSupport.h"

#include "../../../tools/gncwriter/GisPacker.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBUIModule.h"
#include "graphics/GxDrawRecorder.h"
#include "graphics/GxTextureFactory.h"

#include <sys/stat.h>
#include <unistd.h>

// A solid picture cut into columns patterns across.
inline GisPicture WidgetPicture(const std::wstring& name, uint32_t w, uint32_t h, uint32_t argb, uint32_t columns = 1)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Columns = columns;
    pic.m_Pixels.assign(static_cast<size_t>(w) * h, argb);
    return pic;
}

class KvWidgetImageFixture : public KvGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        m_SavedCwd = cwd;
        ASSERT_EQ(chdir(m_Dir.c_str()), 0);
        ASSERT_EQ(mkdir("uigis", 0755), 0);
    }
    void TearDown() override
    {
        GxGraphics::SetDrawRecorder(nullptr);
        GxNcImageSetPool::ReleaseAll();
        GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
        GxTextureFactory::GetInstance().Clear();
        EXPECT_EQ(chdir(m_SavedCwd.c_str()), 0);
        KvGraphicsFixture::TearDown();
    }

    // Packs the pictures into "uigis/ui_test.gis" and pools it.
    void PoolSet(const std::vector<GisPicture>& pictures)
    {
        GxNcCrammedImageSet set;
        ASSERT_TRUE(GisPacker::Build(m_Dir + "/uigis/", L"ui_test.gis", pictures, GncForm::Binary, set, 512));
        ASSERT_TRUE(GxNcImageSetPool::Add(L"uigis/ui_test.gis"));
    }
    // A module row of the test set.
    static DBUIModuleData Module(const std::wstring& image, int32_t w = 0, int32_t h = 0, int32_t margin = 0)
    {
        DBUIModuleData row;
        row.m_ImageSetName = L"ui_test";
        row.m_ImageName = image;
        row.m_Width = w;
        row.m_Height = h;
        row.m_ClientLeft = row.m_ClientTop = margin;
        row.m_FontIndex = 1;
        return row;
    }
    const GxNcOriginImage* Image(const std::wstring& name)
    {
        const GxNcCrammedImageSet* set = GxNcImageSetPool::Find(L"uigis/ui_test.gis");
        return set ? set->FindOriginImage(name) : nullptr;
    }
    // Records the quads drawn by the action, flushed.
    std::vector<GxDrawRecorder::Primitive> Record(const std::function<void()>& draw)
    {
        GxDrawRecorder recorder;
        GxGraphics::SetDrawRecorder(&recorder);
        draw();
        GxGraphics::FlushDraws();
        GxGraphics::SetDrawRecorder(nullptr);
        return recorder.m_Primitives;
    }

    std::string m_SavedCwd;
};
