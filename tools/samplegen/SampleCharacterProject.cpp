#include "SampleCharacterProject.h"

#include "../gncwriter/GisPacker.h"
#include "../gncwriter/GncProjectWriter.h"

#include "animation/GxNcLayerNode.h"

#include <memory>

namespace
{

// The body of the heroine as the standing picture draws it: head over a wider body, flat colours.
GisPicture BodyPicture()
{
    GisPicture pic;
    pic.m_FileName = L"body.png";
    pic.m_Width = 160;
    pic.m_Height = 320;
    pic.m_Pixels.assign(static_cast<size_t>(pic.m_Width) * pic.m_Height, 0u);
    for (uint32_t y = 0; y < pic.m_Height; ++y)
        for (uint32_t x = 0; x < pic.m_Width; ++x)
        {
            if (y < 100 && x >= 40 && x < 120)
                pic.m_Pixels[static_cast<size_t>(y) * pic.m_Width + x] = 0xFFF0D0C0;
            else if (y >= 100)
                pic.m_Pixels[static_cast<size_t>(y) * pic.m_Width + x] = 0xFFC04060;
        }
    return pic;
}

GxNcVector4Key Key(int32_t time, float x, float y)
{
    GxNcVector4Key key;
    key.m_Time = time;
    key.m_Value = GxVector4(x, y, 0.0f, 1.0f);
    key.m_InterMode = 1;
    return key;
}

// One motion of one looping layer that shows the body and moves it through the given keys.
void AddMotion(GxNcMotionGroup& group, const std::wstring& name, std::vector<GxNcVector4Key> keys)
{
    group.m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& motion = *group.m_Motions.back();
    motion.m_MotionName = name;
    motion.m_EndTime = motion.m_TotalDuration = keys.back().m_Time + 1;
    motion.m_Layers.push_back(std::make_unique<GxNcLayer>());
    GxNcLayer& layer = *motion.m_Layers.back();
    layer.m_LayerName = L"body";
    layer.m_LoopMode = 1;
    // Normal alpha blending: the picture's transparent parts show what is behind (the default opaque copy
    // would draw them black).
    layer.m_BlendMode = 2;
    GxNcImageKey image;
    image.m_ImageSetName = L"lilith.gis";
    image.m_ImageFileName = L"body.png";
    layer.m_ImageKeys = {image};
    layer.m_PositionKeys = std::move(keys);
    auto* node = new GxNcLayerNode();
    node->m_LayerName = layer.m_LayerName;
    node->m_LayerIndex = 0;
    motion.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
}

} // namespace

void WriteCharacterProject(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    std::error_code error;
    const std::filesystem::path sets = folder / "gnc" / "gis";
    std::filesystem::create_directories(sets, error);
    GxNcCrammedImageSet set;
    if (!GisPacker::Build(sets.string() + "/", L"lilith.gis", {BodyPicture()}, GncForm::Binary, set, 512))
    {
        problems.push_back("cannot write the image set " + (sets / "lilith.gis").string());
        return;
    }

    GxNcProject project;
    project.m_ProjectName = L"lilith";
    project.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
    GxNcMotionGroup& group = *project.m_MotionGroups.back();
    group.m_MotionGroupName = L"pose";
    AddMotion(group, L"sway", {Key(0, -20, 0), Key(30, 20, 0), Key(59, -20, 0)});
    AddMotion(group, L"jump", {Key(0, 0, 0), Key(15, 0, -60), Key(29, 0, 0)});

    const std::filesystem::path path = folder / "gnc" / "lilith.gnc";
    if (!GncProjectWriter::Write(path.string(), project, {L"lilith.gis"}, GncForm::Binary))
        problems.push_back("cannot write " + path.string());
}
