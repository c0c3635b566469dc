// The adventure screen as a save slot sees it, for the slot target and the seeds made for it: the
// screen's named layers, stand layers, windows and choice buttons, built from the same classes and
// names as the adventure screen builds them (no device is started: nothing is drawn), and the script
// host with a small compiled program whose main worker is running, so a slot carries script records,
// sound records and layer records as the game writes them.
#pragma once

#include "../tools/moabuild/MoaBuilder.h"
#include "adventure/AvgNameImageLayer.h"
#include "appdata/DBAvgChar.h"
#include "appdata/GxUserData.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxCore.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxTaskUITextButtonIs.h"
#include "task/ui/GxTaskUITextWindowFx.h"

#include <cstdio>
#include <memory>
#include <string>

class AdventureSlotScene
{
public:
    AdventureSlotScene()
    {
        m_Core.m_TaskManage = &m_Manage;
        g_Core = &m_Core;
        // A fixed save time keeps the same scene the same bytes.
        GxUserData::s_SaveTimeSource = [] { return std::wstring(L"2026/01/01 00:00:00"); };
        // Two characters have stand layers; "*" names none.
        g_DBAvgChar.GetRow(1)->m_CharName = L"Aki";
        g_DBAvgChar.GetRow(1)->m_SubLayerNum = 2;
        g_DBAvgChar.GetRow(2)->m_CharName = L"*";
        g_DBAvgChar.GetRow(3)->m_CharName = L"Beni";
        BuildTree();
        LoadProgram();
    }
    ~AdventureSlotScene()
    {
        DestroyMoa();
        g_Core = nullptr;
        m_Core.m_TaskManage = nullptr;
    }
    AdventureSlotScene(const AdventureSlotScene&) = delete;
    AdventureSlotScene& operator=(const AdventureSlotScene&) = delete;

    GxCore& Core() { return m_Core; }
    GxTaskUIMessageWindowFx* MessageWindow() { return m_Message; }
    GxTaskLayer* Layer(int i) { return m_Layers[i]; }

private:
    GxTaskLayer* MakeLayer(GxTaskBase* parent, const wchar_t* name, float depth, int32_t type)
    {
        GxTaskLayer* layer = new GxTaskLayer(parent, name);
        layer->SetOrderZ(depth);
        layer->SetLayerType(type);
        return layer;
    }

    void BuildTree()
    {
        GxTaskBase* top = new GxTaskBase(&m_Manage);
        GxTaskFolder* root = new GxTaskFolder(top, L"$ROOT:SeqAvgMain");
        GxTaskLayer* visual = new GxTaskLayer(root, L"$VISUAL:SeqAvgMain");
        m_Layers[0] = visual;
        m_Layers[1] = MakeLayer(visual, L"$BGLAYER:SeqAvgMain", -100.0f, 2);
        m_Layers[2] = MakeLayer(m_Layers[1], L"$BGWLAYER:SeqAvgMain", -10.0f, 2);
        m_Layers[3] = MakeLayer(visual, L"$MOVIELAYER:SeqAvgMain", -20.0f, 2);
        m_Layers[3]->SetMovieAutoDisappearTime(800);
        m_Layers[4] = MakeLayer(visual, L"$GLOBALFLASH:SeqAvgMain", 10000.0f, 3);
        m_Layers[4]->SetSolidColor(0xFFFFFFFFu, 0);
        m_Layers[4]->SetAlpha(0);
        m_Layers[5] = MakeLayer(visual, L"$GLOBALFADE:SeqAvgMain", 10001.0f, 2);
        m_Layers[5]->SetSolidColor(0xFF000000u, 0);
        m_Layers[5]->SetAlpha(0);
        GxTaskFolder* stand = new GxTaskFolder(visual, L"$STAND:SeqAvgMain");
        for (int32_t i = 0; i < g_DBAvgChar.GetCapacity(); ++i)
        {
            const DBAvgCharData* row = g_DBAvgChar.GetRow(i);
            if (row->m_CharName.empty() || row->m_CharName == L"*")
                continue;
            GxTaskLayer* layer = new GxTaskLayer(stand, nullptr, row->m_CharName.c_str(), 0);
            layer->m_Contents[0].SetSubLayerCount(row->m_SubLayerNum);
            layer->m_Contents[1].SetSubLayerCount(row->m_SubLayerNum);
            layer->SetLayerType(2);
        }
        GxTaskFolder* ui = new GxTaskFolder(root, L"$UI:SeqAvgMain");
        m_Message = new GxTaskUIMessageWindowFx(ui, L"$MESWIN:SeqAvgMain");
        GxTaskUITextWindowFx* name = new GxTaskUITextWindowFx(ui, L"$NAMEWIN:SeqAvgMain");
        new AvgNameImageLayer(name, L"$NAMEIMAGE:SeqAvgMain");
        GxTaskFolder* select = new GxTaskFolder(ui, L"$SELECT:SeqAvgMain");
        GxUserData limits(&m_Core);
        for (int32_t i = 1; i <= limits.GetChoiceLimit(); ++i)
            new GxTaskUITextButtonIs(select, nullptr, L"btn_select", i);
    }

    // A program with variables of every scope and class, its main worker started and a few lines in.
    void LoadProgram()
    {
        static const char* const kSource = "*MAIN\n"
                                           "@global $day = 3\n"
                                           "@global perman $seen = 1\n"
                                           "@global nosave $temp = 9\n"
                                           "@static $count = 2\n"
                                           "@static $names[3]\n"
                                           "@extern $flag = \"x\"\n"
                                           "@$count = $count + 1\n"
                                           "@$names[1] = \"Aki\"\n"
                                           "*NEXT\n"
                                           "@$day = $day + 1\n"
                                           "@$local = array(1, \"two\", 3.5)\n"
                                           "@if ($day > 100) {\n"
                                           "@$day = 0\n"
                                           "@}\n";
        GxMoa program;
        MoaBuilder builder(program);
        builder.AddSource("scripts/main.txt", kSource);
        builder.Finish();
        std::string bytes;
        if (builder.GetErrorCount() == 0)
        {
            char* buffer = nullptr;
            size_t size = 0;
            if (FILE* memory = open_memstream(&buffer, &size))
            {
                {
                    GxContentBinaryWriter writer(memory);
                    program.Write(&writer);
                }
                std::fclose(memory);
                bytes.assign(buffer, size);
            }
            std::free(buffer);
        }
        CreateMoa(&m_Core);
        GxContentBinaryReader reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
        g_MoaInstance->Read(&reader);
        g_MoaInstance->CreateExternVariables();
        g_MoaMainWorker->CreateGlobalVariables();
        if (g_MoaMainWorker->StartAtLabel(L"MAIN"))
            for (int step = 0; step < 10 && g_MoaMainWorker->Exec(g_MoaBuiltin); ++step)
            {
            }
    }

    GxCore m_Core;
    GxTaskManage m_Manage{&m_Core};
    GxTaskLayer* m_Layers[6] = {};
    GxTaskUIMessageWindowFx* m_Message = nullptr;
};
