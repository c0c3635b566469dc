// fuzz_seeds: writes the small player files the fuzz targets start from into fuzz/corpus/<target>/.
//
//   fuzz_seeds <corpus folder>
//
// The sound, movie, game-folder and pack seeds are made by our tools (see fuzz/make-corpus.sh); this
// program makes the files only the engine itself writes: adventure slots over the adventure scene with a
// running script (both forms), compiled programs with their script records, "permanent.dat",
// "userconf.dat", strategy slots and round files, and the DDS, TGA and BMP pictures no tool writes.
#include "../AdventureSlotScene.h"
#include "PictureSeeds.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "appdata/GxUserScriptRecord.h"
#include "script/GxMoaScope.h"
#include "core/GxContentTextWriter.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    GxLog::SetErrorLogPath(L"");
    GxLog::SetDebugLogPath(L"");
    GxLog::SetDeviceLogPath(L"");
    const std::filesystem::path root = argv[1];
    auto folder = [&](const char* target)
    {
        std::filesystem::create_directories(root / target);
        return root / target;
    };
    auto wide = [](const std::filesystem::path& p) { return GxString::FromUtf8(p.string()); };
    bool ok = true;

    auto put = [&](const std::filesystem::path& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ok &= static_cast<bool>(out);
    };
    // What a writer of the engine writes, into memory.
    auto written = [](bool binary, const std::function<void(GxContentWriterBase&)>& write)
    {
        char* buffer = nullptr;
        size_t size = 0;
        std::string bytes;
        if (FILE* memory = open_memstream(&buffer, &size))
        {
            {
                std::unique_ptr<GxContentWriterBase> writer;
                if (binary)
                    writer = std::make_unique<GxContentBinaryWriter>(memory);
                else
                    writer = std::make_unique<GxContentTextWriter>(memory);
                write(*writer);
            }
            std::fclose(memory);
            bytes.assign(buffer, size);
        }
        std::free(buffer);
        return bytes;
    };

    {
        // The adventure scene of the slot target with a page in the message window, a choice on offer and
        // a few log lines; both forms, and a slot of the scene as it starts.
        AdventureSlotScene scene;
        GxUserData slot(&scene.Core());
        slot.m_GameDataTitle = L"seed";
        slot.m_RestoreSequence = L"SeqAvgMain";
        ok &= slot.Save(wide(folder("fuzz_user_slot") / "gamedata_start.gd"), true);
        // The page shown whole, so the slot holds its characters and the reading over "魔王城"; layers with
        // actions still queued.
        scene.MessageWindow()->SetMessage(L"リリス「ようこそ、≪魔王城／まおうじょう≫へ。」", true, false, false, false);
        scene.MessageWindow()->ProceedClick();
        scene.Layer(1)->SetSolidColor(0xFF204060u, 0);
        scene.Layer(1)->AddActionWait(0, 500);
        scene.Layer(1)->AddActionFadeIn(300);
        scene.Layer(2)->AddActionMove(400, GxVector4(32.0f, -16.0f, 0.0f, 0.0f), 1);
        scene.Layer(2)->AddActionHide();
        scene.Layer(4)->SetAlpha(128);
        slot.m_IsSelecting = true;
        slot.m_SelectMenuItemList[1].m_Text = L"はい";
        slot.m_SelectMenuItemList[1].m_Label = L"YES";
        slot.m_SelectMenuItemList[2].m_Text = L"いいえ";
        slot.m_SelectMenuItemList[2].m_UseGosub = true;
        for (int i = 0; i < 3; ++i)
            slot.AddMessageLog(L"リリス", L"line " + std::to_wstring(i), false, false);
        slot.m_BGMRecord = {L"bgms/bgm01.ogg", 1, 0, 1000, 500, 0};
        slot.m_VoiceRecord[0] = {L"voices/lilith/v001.ogg", 0, 0, 0, 0, 2};
        ok &= slot.Save(wide(folder("fuzz_user_slot") / "gamedata001.gd"), true);
        ok &= slot.Save(wide(folder("fuzz_user_slot") / "gamedata_quick_text.gd"), false);

        // The scene's compiled program followed by script records as a slot and "permanent.dat" hold them:
        // a 4-byte length (top bit: the permanent form), the program, the record; a text record behind the
        // "T" that makes the target read it as text.
        const std::string program = written(true, [](GxContentWriterBase& w) { g_MoaInstance->Write(&w); });
        auto moa = [&](const char* name, bool permanent, bool binary)
        {
            const std::string record = written(
                binary,
                [&](GxContentWriterBase& w)
                {
                    GxUserScriptRecord::Write(w, permanent ? PERSIST_PERMAN : PERSIST_INGAME,
                                              permanent ? GxUserScriptRecord::Worker::Without
                                                        : GxUserScriptRecord::Worker::With);
                });
            const uint32_t head = static_cast<uint32_t>(program.size()) | (permanent ? 0x80000000u : 0);
            std::string bytes;
            for (int i = 0; i < 4; ++i)
                bytes += static_cast<char>((head >> (8 * i)) & 0xFF);
            put(folder("fuzz_MoaProgram") / name, bytes + program + (binary ? "" : "T") + record);
        };
        moa("slot_record.bin", false, true);
        moa("slot_record_text.bin", false, false);
        moa("permanent_record.bin", true, true);
    }

    // Pictures: as they are for the decoders, and behind the extension choice of the file-layer target.
    for (const auto& [name, bytes] : MakePictureSeeds())
    {
        put(folder("fuzz_image_readers") / name, bytes);
        const std::string extension = name.substr(name.rfind('.'));
        const char choice = extension == ".dds" ? 1 : extension == ".tga" ? 2 : 4;
        put(folder("fuzz_image_file") / name, std::string(1, choice) + bytes);
    }

    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(12, L"main");
    progress.SetSelectedMenu(1, L"main:120");
    progress.m_ExtraOption.Set(3, true);
    ok &= progress.Save(wide(folder("fuzz_user_permanent") / "permanent.dat"), true);
    ok &= progress.Save(wide(folder("fuzz_user_permanent") / "permanent_text.dat"), false);

    progress.SetReadedMessage(400, L"war");
    ok &= progress.Save(wide(folder("fuzz_user_permanent") / "permanent_more.dat"), true);

    GxUserConfig config;
    ok &= config.Save(wide(folder("fuzz_user_config") / "userconf_default.dat"));
    config.m_Volume_BGM = 40;
    ok &= config.Save(wide(folder("fuzz_user_config") / "userconf.dat"));
    config.m_Volume_Master = 0;
    config.m_TextWindowOpacity = 255;
    config.m_ScreenMode = 1;
    ok &= config.Save(wide(folder("fuzz_user_config") / "userconf_full_screen.dat"));

    {
        GxTaskManage manage(nullptr);
        auto* root = new GxTaskBase(&manage);
        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList,
                                    ZorCore::kSavedUnitList})
            new GxTaskBase(root, name);
        auto core = std::make_unique<ZorCore>(nullptr, &manage);
        core->GetUserData()->InitNewGame();
        // Units in the ready list, so a load that passes the checks builds them.
        ok &= core->AddFirstReadyUnit();
        ZorUnitRecord record;
        record.m_UnitID = 3;
        record.m_Level = 2;
        ok &= core->AddReadyUnitFromRecord(record);
        ok &= core->SaveGameData(wide(folder("fuzz_strategy_save") / "zordata001.gd"), true);
        // The text form of a slot is some 340 KB, which would slow every run of the target: the text
        // reader is seeded by the round file's text form instead.
        ok &= core->SaveRoundData(wide(folder("fuzz_strategy_save") / "round.gd"), true);
        ok &= core->SaveRoundData(wide(folder("fuzz_strategy_save") / "round_text.gd"), false);
    }
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: a seed could not be written\n");
    return ok ? 0 : 1;
}
