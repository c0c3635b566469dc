#include "support/BenchAdventureScreen.h"

#include "adventure/SeqAvgMain.h"
#include "core/GxLog.h"
#include "core/GxThreadManage.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

bool BenchAdventureScreen::Start(const char* title)
{
    GxLog::SetErrorLogPath(L"");
    if (!device.Open(title) || !core.Start())
        return false;
    GxLog::SetErrorLogPath(L"");
    // The core's frame polls the worker threads, which the benchmark core is started without.
    if (!core->m_ThreadManage)
        core->m_ThreadManage = new GxThreadManage(nullptr);
    screen = SeqAvgMain::Find();
    if (!screen)
        return false;
    GxTaskManage* manage = core->m_TaskManage;
    manage->ChangeSequence(L"SeqAvgMain", 0, 0);
    manage->ApplyPendingSequence();
    for (int i = 0; i < 600 && !manage->IsSequenceStarted(); ++i)
        Step();
    screen->FindLayer(L"$BGLAYER:SeqAvgMain")->SetImage(L"cg/bg/room.png", 0, L"cg/error.png");
    ready = true;
    return true;
}

void BenchAdventureScreen::Step()
{
    GxTaskManage* manage = core->m_TaskManage;
    core->ClearRenderLayers();
    manage->DeleteDeadTasks(manage->GetRootTask());
    manage->ClearStepFlags();
    GxTaskBase* current = manage->GetCurrentSequence();
    if (!manage->IsSequenceStarted())
        manage->WalkUpdatePreStart(current, 0, 16667);
    manage->WalkUpdate(current, 0, 16667);
    manage->WalkUpdate(manage->GetSystemSequence(), 0, 16667);
    manage->WalkRegisterDraw(current, 0, 16667);
    manage->WalkRegisterDraw(manage->GetSystemSequence(), 0, 16667);
}
