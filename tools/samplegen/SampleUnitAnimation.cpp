#include "SampleUnitAnimation.h"

#include "../gncwriter/GncProjectWriter.h"

#include "animation/GxNcImageKey.h"
#include "animation/GxNcLayerNode.h"

#include <cstdlib>
#include <memory>

namespace
{

// Frames of each motion: standing loops, the attack lands at 10 and ends at 30.
constexpr int32_t kStand = 60;
constexpr int32_t kAttack = 30;
constexpr int32_t kDamage = 20;
constexpr int32_t kWalk = 40;

std::string Cell(const SampleRow& row, const char* column)
{
    for (const auto& [name, value] : row)
        if (name == column)
            return value;
    return {};
}

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

void AddMotion(GxNcMotionGroup& group, const std::wstring& name, int32_t frames, const std::wstring& picture)
{
    group.m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *group.m_Motions.back();
    m.m_MotionName = name;
    m.m_EndTime = m.m_TotalDuration = frames;
    m.m_Layers.push_back(std::make_unique<GxNcLayer>());
    GxNcLayer& body = *m.m_Layers.back();
    body.m_LayerName = L"body";
    body.m_LoopMode = 1;
    // Normal alpha blending: the picture's transparent parts show what is behind (the default opaque copy
    // would draw them black).
    body.m_BlendMode = 2;
    GxNcImageKey image;
    image.m_ImageSetName = L"effect.gis";
    image.m_ImageFileName = picture;
    body.m_ImageKeys = {image};
    // The picture is drawn about its centre; lifted by half its height it stands on the unit's place (the
    // motions' y runs down the screen).
    GxNcVector4Key lift;
    lift.m_Value = GxVector4(0.0f, -0.5f * static_cast<float>(kUnitFigureHeight), 0.0f, 1.0f);
    lift.m_InterMode = 1;
    body.m_PositionKeys = {lift};
    GxNcLayerNode* node = new GxNcLayerNode();
    node->m_LayerName = body.m_LayerName;
    node->m_LayerIndex = 0;
    m.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
}

} // namespace

void WriteUnitAnimation(const std::filesystem::path& folder, const std::vector<SampleTable>& tables,
                        std::vector<std::string>& problems)
{
    for (const SampleTable& table : tables)
    {
        if (table.className != "DBZorUnit")
            continue;
        for (const SampleRow& row : table.rows)
        {
            const std::string gnc = Cell(row, "GNCName");
            if (gnc.empty() || Cell(row, "MotionGroup").empty())
                continue;
            GxNcProject project;
            project.m_ProjectName = Wide(std::filesystem::path(gnc).stem().string());
            project.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
            GxNcMotionGroup& group = *project.m_MotionGroups.back();
            group.m_MotionGroupName = Wide(Cell(row, "MotionGroup"));
            const std::string stand = Cell(row, "Motion_stand");
            const std::string attack = Cell(row, "Motion_attack");
            // The player's kinds (classes 1-4) and traps (20) look one way, the invaders another.
            const int kind = std::atoi(Cell(row, "Class").c_str());
            const std::wstring picture = kind <= 4 || kind == 20 ? L"unit.png" : L"unit_invader.png";
            AddMotion(group, stand.empty() ? L"stand" : Wide(stand), kStand, picture);
            AddMotion(group, attack.empty() ? L"attack" : Wide(attack), kAttack, picture);
            AddMotion(group, L"damage", kDamage, picture);
            AddMotion(group, L"walk", kWalk, picture);
            // The name is the project file's; the engine replaces its extension by ".gnc".
            const std::filesystem::path path = folder / "gnc" / std::filesystem::path(gnc).replace_extension(".gnc");
            if (!GncProjectWriter::Write(path.string(), project, {L"effect.gis"}, GncForm::Binary))
                problems.push_back("cannot write " + path.string());
        }
    }
}
