#pragma once

// Writes animation projects (".gnc") in both forms of the content record, over the engine's own content
// writers and records, so tests and the sample generator make exactly what GxNcProject reads. The value
// order is the reader's; the layer tree is written with a stack, so any depth can be written.
//
// Header-only: tests, benchmarks and samplegen include it directly.

#include "animation/GxNcLayerNode.h"
#include "animation/GxNcProject.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextWriter.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

enum class GncForm
{
    Text,
    Binary,
};

class GncProjectWriter
{
public:
    // The whole file: header, values. False when the file cannot be opened or a write fails.
    static bool Write(const std::string& path, const GxNcProject& project, const std::vector<std::wstring>& imageSets,
                      GncForm form)
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return false;
        bool ok = true;
        {
            std::unique_ptr<GxContentWriterBase> w;
            if (form == GncForm::Text)
                w = std::make_unique<GxContentTextWriter>(file);
            else
                w = std::make_unique<GxContentBinaryWriter>(file);
            ok = w->WriteHeader(form == GncForm::Text ? "TNCPROJ" : "BNCPROJ", 1);
            ok = WriteValues(*w, project, imageSets) && ok;
        }
        ok = std::fflush(file) == 0 && ok;
        ok = std::fclose(file) == 0 && ok;
        return ok;
    }

    static bool WriteValues(GxContentWriterBase& w, const GxNcProject& p, const std::vector<std::wstring>& imageSets)
    {
        bool ok = w.WriteString("m_ProjectName", p.m_ProjectName);
        ok &= w.Write("m_IssuableMotionID", p.m_IssuableMotionID);
        ok &= w.Write("m_IssuableLayerID", p.m_IssuableLayerID);
        ok &= w.Write("m_IssuableMotionGroupID", p.m_IssuableMotionGroupID);
        ok &= w.Write("m_IssuableActorID", p.m_IssuableActorID);
        ok &= w.Write("m_IssuableStageID", p.m_IssuableStageID);
        ok &= w.Write("m_IssuableReserveID0", p.m_IssuableReserveID0);
        ok &= w.Write("m_IssuableReserveID1", p.m_IssuableReserveID1);
        ok &= w.Write("m_IssuableReserveID2", p.m_IssuableReserveID2);
        ok &= w.Write("m_IssuableReserveID3", p.m_IssuableReserveID3);
        ok &= w.ListBegin("m_MotionGroupList", "", (uint32_t)p.m_MotionGroups.size());
        for (const auto& group : p.m_MotionGroups)
        {
            ok &= w.WriteString("m_MotionGroupName", group->m_MotionGroupName);
            ok &= w.WriteString("m_EnumName", group->m_EnumName);
            ok &= w.Write("m_MotionGroupID", group->m_MotionGroupID);
            ok &= w.ListBegin("m_MotionList", "", (uint32_t)group->m_Motions.size());
            for (const auto& motion : group->m_Motions)
                ok &= WriteMotion(w, *motion);
            ok &= w.ListEnd();
        }
        ok &= w.ListEnd();
        ok &= w.ListBegin("m_StageList", "", (uint32_t)p.m_Stages.size());
        ok &= w.ListEnd();
        ok &= w.ListBegin("m_ImageSetFileNameList", "", (uint32_t)imageSets.size());
        for (const std::wstring& name : imageSets)
            ok &= w.WriteString("m_FileName", name);
        ok &= w.ListEnd();
        return ok;
    }

    static bool WriteMotion(GxContentWriterBase& w, const GxNcMotion& m)
    {
        bool ok = w.WriteString("m_MotionName", m.m_MotionName);
        ok &= w.WriteString("m_EnumName", m.m_EnumName);
        ok &= w.Write("m_MotionID", m.m_MotionID);
        ok &= w.Write("m_TotalDuration", m.m_TotalDuration);
        ok &= w.Write("m_StartTime", m.m_StartTime);
        ok &= w.Write("m_PlayTime", m.m_PlayTime);
        ok &= w.Write("m_EndTime", m.m_EndTime);
        ok &= w.ListBegin("m_LayerList", "", (uint32_t)m.m_Layers.size());
        for (const auto& layer : m.m_Layers)
            ok &= WriteLayer(w, *layer);
        ok &= w.ListEnd();
        ok &= w.ListBegin("", "", (uint32_t)m.m_SoundKeys.size());
        for (const GxNcSoundKey& k : m.m_SoundKeys)
        {
            ok &= w.Write("m_Time", k.m_Time);
            ok &= w.WriteString("m_SoundName", k.m_SoundName);
            ok &= w.Write("m_InterMode", k.m_InterMode);
            ok &= w.Write("m_Selected", k.m_Selected);
        }
        ok &= w.ListEnd();
        for (const auto& channel : m.m_EventKeys)
        {
            ok &= w.ListBegin("", "", (uint32_t)channel.size());
            for (const GxNcEventKey& k : channel)
            {
                ok &= w.Write("m_Time", k.m_Time);
                ok &= w.Write("m_EventID", k.m_EventID);
                ok &= w.Write("m_AfterCallFlag", k.m_AfterCallFlag);
                ok &= w.WriteString("m_Param", k.m_Param);
                ok &= w.Write("m_InterMode", k.m_InterMode);
                ok &= w.Write("m_InterParam0", k.m_InterParam0);
                ok &= w.Write("m_InterParam1", k.m_InterParam1);
                ok &= w.Write("m_Selected", k.m_Selected);
            }
            ok &= w.ListEnd();
        }
        ok &= w.TreeBegin("m_LayerTree", "");
        ok &= WriteTree(w, static_cast<const GxNcLayerNode*>(m.m_LayerTree.GetRoot()));
        ok &= w.TreeEnd();
        return ok;
    }

    // A chain of sibling strata, each with its children's chain before its end.
    static bool WriteTree(GxContentWriterBase& w, const GxNcLayerNode* root)
    {
        bool ok = true;
        std::vector<const GxSimpleNode*> open;
        const GxSimpleNode* n = root;
        while (n)
        {
            const GxNcLayerNode* node = static_cast<const GxNcLayerNode*>(n);
            ok &= w.TreeStratumBegin();
            ok &= w.WriteString("m_LayerName", node->m_LayerName);
            ok &= w.Write("m_LayerIndex", node->m_LayerIndex);
            if (n->GetFirstChild())
            {
                open.push_back(n);
                n = n->GetFirstChild();
                continue;
            }
            ok &= w.TreeStratumEnd();
            while (!n->GetNextSibling() && !open.empty())
            {
                n = open.back();
                open.pop_back();
                ok &= w.TreeStratumEnd();
            }
            n = n->GetNextSibling();
        }
        return ok;
    }

    template <typename Key> static bool WriteTail(GxContentWriterBase& w, const Key& k)
    {
        bool ok = w.Write("m_InterMode", k.m_InterMode);
        ok &= w.Write("m_InterParam0", k.m_InterParam0);
        ok &= w.Write("m_InterParam1", k.m_InterParam1);
        ok &= w.Write("m_Selected", k.m_Selected);
        return ok;
    }
    static bool WriteValue(GxContentWriterBase& w, const GxVector4& v) { return w.Write("m_Value", &v); }
    static bool WriteValue(GxContentWriterBase& w, const GxVector2& v) { return w.Write("m_Value", &v); }
    static bool WriteValue(GxContentWriterBase& w, float v) { return w.Write("m_Value", v); }
    static bool WriteValue(GxContentWriterBase& w, uint32_t v) { return w.Write("m_Value", v); }
    template <typename Key> static bool WriteValueKeys(GxContentWriterBase& w, const std::vector<Key>& keys)
    {
        bool ok = w.ListBegin("", "", (uint32_t)keys.size());
        for (const Key& k : keys)
        {
            ok &= w.Write("m_Time", k.m_Time);
            ok &= WriteValue(w, k.m_Value);
            ok &= WriteTail(w, k);
        }
        return w.ListEnd() && ok;
    }
    static bool WriteVector4x5Keys(GxContentWriterBase& w, const std::vector<GxNcVector4x5Key>& keys)
    {
        bool ok = w.ListBegin("", "", (uint32_t)keys.size());
        for (const GxNcVector4x5Key& k : keys)
        {
            ok &= w.Write("m_Time", k.m_Time);
            for (const GxVector4& v : k.m_Value)
                ok &= w.Write("m_Value", &v);
            ok &= WriteTail(w, k);
            ok &= w.Write("m_SelectedLocalFlags", k.m_SelectedLocalFlags);
        }
        return w.ListEnd() && ok;
    }

    static bool WriteLayer(GxContentWriterBase& w, const GxNcLayer& l)
    {
        bool ok = w.WriteString("m_LayerName", l.m_LayerName);
        ok &= w.WriteString("m_EnumName", l.m_EnumName);
        ok &= w.Write("m_LayerID", l.m_LayerID);
        ok &= w.Write("m_LastTime", l.m_LastTime);
        ok &= w.Write("m_LoopMode", l.m_LoopMode);
        ok &= w.Write("m_LayerType", l.m_LayerType);
        ok &= w.Write("m_AttachIndex", l.m_AttachIndex);
        for (auto [name, value] : {std::pair{"m_VertexCount", l.m_VertexCount},
                                   {"m_EditLock", l.m_EditLock},
                                   {"m_EditVisible", l.m_EditVisible},
                                   {"m_LightEnable", l.m_LightEnable},
                                   {"m_AlphaTestEnable", l.m_AlphaTestEnable},
                                   {"m_ZWriteEnable", l.m_ZWriteEnable},
                                   {"m_ZTestEnable", l.m_ZTestEnable},
                                   {"m_StencilMode", l.m_StencilMode},
                                   {"m_StencilTestEnable", l.m_StencilTestEnable},
                                   {"m_ViewMode", l.m_ViewMode},
                                   {"m_BlendMode", l.m_BlendMode},
                                   {"m_FilterMode", l.m_FilterMode},
                                   {"m_Selected", l.m_Selected},
                                   {"m_Expanded", l.m_Expanded}})
            ok &= w.Write(name, value);
        ok &= w.ListBegin("", "", (uint32_t)l.m_ImageKeys.size());
        for (const GxNcImageKey& k : l.m_ImageKeys)
        {
            ok &= w.Write("m_Time", k.m_Time);
            ok &= w.WriteString("m_ImageSetName", k.m_ImageSetName);
            ok &= w.WriteString("m_ImageFileName", k.m_ImageFileName);
            ok &= w.WriteString("m_MotionGroupName", k.m_MotionGroupName);
            ok &= w.WriteString("m_MotionName", k.m_MotionName);
            ok &= w.Write("m_PatternIndex", k.m_PatternIndex);
            ok &= w.Write("m_Width", k.m_Width);
            ok &= w.Write("m_Height", k.m_Height);
            ok &= w.Write("m_OffsetFrame", k.m_OffsetFrame);
            ok &= w.Write("m_LoopMode", k.m_LoopMode);
            ok &= WriteTail(w, k);
        }
        ok &= w.ListEnd();
        ok &= WriteValueKeys(w, l.m_PositionKeys);
        ok &= WriteValueKeys(w, l.m_ScaleKeys);
        ok &= WriteValueKeys(w, l.m_RotationKeys);
        ok &= WriteValueKeys(w, l.m_PivotKeys);
        ok &= WriteValueKeys(w, l.m_SizeKeys);
        ok &= WriteValueKeys(w, l.m_OpacityKeys);
        ok &= WriteValueKeys(w, l.m_VisibilityKeys);
        ok &= WriteVector4x5Keys(w, l.m_VertexOffsetKeys);
        ok &= WriteVector4x5Keys(w, l.m_VertexColorKeys);
        ok &= WriteValueKeys(w, l.m_TexOffsetKeys);
        return ok;
    }
};
