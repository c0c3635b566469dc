#pragma once

// Projects and image sets made on the spot with the tools' writers, in a scratch folder whose logs the
// tests read; the factories are emptied after every test.

#include "graphics/GraphicsTestSupport.h"

#include "../../tools/gncwriter/GisPacker.h"
#include "../../tools/gncwriter/GncProjectWriter.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcLayerNode.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "graphics/GxTextureFactory.h"

#include <memory>

namespace kvanim
{

inline void EmptyFactories()
{
    GxNcProjectFactory::GetInstance().ReleaseAll();
    GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
}

// A layer named so, with one key on each of the tracks the caller fills afterwards.
inline GxNcLayer& AddLayer(GxNcMotion& motion, const std::wstring& name)
{
    motion.m_Layers.push_back(std::make_unique<GxNcLayer>());
    GxNcLayer& layer = *motion.m_Layers.back();
    layer.m_LayerName = name;
    return layer;
}

inline GxNcMotion& AddMotion(GxNcProject& project, const std::wstring& group, const std::wstring& name, int32_t endTime)
{
    GxNcMotionGroup* g = nullptr;
    for (auto& existing : project.m_MotionGroups)
        if (existing->m_MotionGroupName == group)
            g = existing.get();
    if (!g)
    {
        project.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
        g = project.m_MotionGroups.back().get();
        g->m_MotionGroupName = group;
    }
    g->m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *g->m_Motions.back();
    m.m_MotionName = name;
    m.m_EndTime = endTime;
    return m;
}

// A tree node for the layer; index as the layer's position.
inline GxNcLayerNode* Node(const GxNcMotion& motion, const std::wstring& name)
{
    GxNcLayerNode* node = new GxNcLayerNode();
    node->m_LayerName = name;
    node->m_LayerIndex = motion.FindLayer(name);
    return node;
}

// Every layer at top level of the tree, in layer order.
inline void FlatTree(GxNcMotion& motion)
{
    GxNcLayerNode* last = nullptr;
    for (const auto& layer : motion.m_Layers)
    {
        GxNcLayerNode* node = Node(motion, layer->m_LayerName);
        if (last)
            motion.m_LayerTree.InsertNext(last, node, GxSimpleTree::InsertMode::Before);
        else
            motion.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
        last = node;
    }
}

inline GxNcImageKey ImageKey(int32_t time, const std::wstring& set, const std::wstring& file, int32_t pattern = 0)
{
    GxNcImageKey k;
    k.m_Time = time;
    k.m_ImageSetName = set;
    k.m_ImageFileName = file;
    k.m_PatternIndex = pattern;
    return k;
}

inline GxNcImageKey MotionKey(int32_t time, const std::wstring& group, const std::wstring& motion)
{
    GxNcImageKey k;
    k.m_Time = time;
    k.m_MotionGroupName = group;
    k.m_MotionName = motion;
    return k;
}

template <typename Key, typename Value> Key ValueKey(int32_t time, Value value, uint32_t mode = 1, float p = 0.0f)
{
    Key k;
    k.m_Time = time;
    k.m_Value = value;
    k.m_InterMode = mode;
    k.m_InterParam0 = p;
    return k;
}

// A solid picture of w x h with a transparent border of `border` pixels.
inline GisPicture Picture(const std::wstring& name, uint32_t w, uint32_t h, uint32_t argb, uint32_t border = 0,
                          uint32_t columns = 1)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Columns = columns;
    pic.m_Pixels.assign((size_t)w * h, 0u);
    for (uint32_t y = border; y + border < h; ++y)
        for (uint32_t x = border; x + border < w; ++x)
            pic.m_Pixels[(size_t)y * w + x] = argb;
    return pic;
}

} // namespace kvanim

// Scratch folder and logs, no device: data tests.
class KvAnimFixture : public KvScratchFixture
{
protected:
    void SetUp() override
    {
        KvScratchFixture::SetUp();
        GxLog::SetSkipSlightError(false);
    }
    void TearDown() override
    {
        kvanim::EmptyFactories();
        KvScratchFixture::TearDown();
    }
    std::string Dir() const { return m_Dir + "/"; }
};

// With a device: page textures load.
class KvAnimGraphicsFixture : public KvGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        GxLog::SetSkipSlightError(false);
    }
    void TearDown() override
    {
        kvanim::EmptyFactories();
        GxTextureFactory::GetInstance().Clear();
        KvGraphicsFixture::TearDown();
    }
    std::string Dir() const { return m_Dir + "/"; }
};

// KvCompareWithGolden over tests/animation/golden/<name> (KV_UPDATE_GOLDEN=1 rewrites it).
inline std::vector<size_t> KvCompareAnimGolden(const std::string& name, const std::vector<uint32_t>& screen,
                                               uint32_t width, uint32_t height, std::vector<int> limits)
{
    return KvCompareWithGolden("../../animation/golden/" + name, screen, width, height, limits);
}
