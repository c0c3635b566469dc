// The system sequence's dialogs over the adventure screen of the sample game: a click on a dialog's
// button is the dialog's, never a click on the message window beneath.
#include "AvgSceneHarness.h"

#include "adventure/SeqSystem.h"
#include "task/ui/GxTaskUIBase.h"

namespace
{

class SeqSystemScene : public AvgScene
{
protected:
    void SetUp() override
    {
        AvgScene::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start({"*MAIN", "@msg(\"はじめのメッセージ\")", "@msg(\"ふたつめ\")"}));
        ASSERT_NO_FATAL_FAILURE(Enter(L"MAIN"));
        Steps(5);
        if (!Window()->IsClickWaiting())
            Click();
        Steps(2);
        ASSERT_TRUE(Window()->IsClickWaiting());
        m_System = dynamic_cast<SeqSystem*>(m_Core->m_TaskManage->GetSystemSequence());
        ASSERT_NE(m_System, nullptr);
    }
    // Clicks the middle of a dialog's button and runs the steps that answer it.
    GxTaskBase* ClickButton(const wchar_t* dialog, const wchar_t* button, int32_t index = 0)
    {
        GxTaskBase* parent = m_Core->m_TaskManage->FindTaskByName(dialog);
        GxTaskUIBase* widget = nullptr;
        for (GxTaskBase* c = parent ? parent->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
            if (c->GetTaskLocalName() == button && c->GetTaskLocalIndex() == index)
                widget = dynamic_cast<GxTaskUIBase*>(c);
        EXPECT_NE(widget, nullptr) << GxString::ToUtf8(button);
        if (!widget)
            return nullptr;
        const GxVector4 at = widget->GetWorldPos();
        GxTaskBase* taken = Click(at.x + widget->GetClientLeft() + widget->GetClientWidth() / 2.0f,
                                  at.y + widget->GetClientTop() + widget->GetClientHeight() / 2.0f);
        Steps(2);
        return taken;
    }
    std::wstring Text() { return Window()->GetText(); }

    SeqSystem* m_System = nullptr;
};

} // namespace

TEST_F(SeqSystemScene, DialogButtonsTakeTheClickOverTheMessageWindow)
{
    const std::wstring first = Text();
    const struct
    {
        const wchar_t* button;
        int32_t index;
        int32_t kind;
        int32_t result;
    } cases[] = {{L"btn_dlguser_yes", 0, SeqSystem::kDialogYesNo, 1},
                 {L"btn_dlguser_no", 0, SeqSystem::kDialogYesNo, 0},
                 {L"btn_dlguser_ok", 1, SeqSystem::kDialogOK, 1}};
    for (const auto& c : cases)
    {
        Data().m_LastDialogResult = -1;
        m_System->OpenUserDialog(L"USERDIALOG", L"よろしいですか？", c.kind);
        Steps(2);
        EXPECT_NE(ClickButton(L"dlg_user", c.button, c.index), nullptr) << GxString::ToUtf8(c.button);
        EXPECT_FALSE(m_System->IsUserDialogOpen()) << GxString::ToUtf8(c.button);
        EXPECT_EQ(Data().m_LastDialogResult, c.result) << GxString::ToUtf8(c.button);
        EXPECT_EQ(Text(), first) << GxString::ToUtf8(c.button);
    }

    Key(0x1B);
    Steps(2);
    ASSERT_TRUE(m_System->IsShutdownDialogOpen());
    // Clicks and keys beside the dialog reach nothing beneath it.
    Click(512.0f, 650.0f);
    Key(0x0D);
    Steps(2);
    EXPECT_TRUE(Window()->IsClickWaiting());
    EXPECT_EQ(Text(), first);
    // A background transit hides the screen's widgets, not the dialog's.
    ASSERT_TRUE(m_Screen->StartBackgroundChange(L"cg/bg/room.png", L"cg/tr/wipe.png", 1000, true));
    EXPECT_NE(ClickButton(L"dlg_shutdown", L"btn_dlgshutdown_no"), nullptr);
    EXPECT_FALSE(m_System->IsShutdownDialogOpen());
    EXPECT_EQ(GxSeqBase::GetOpenDialogCount(), 0);
    EXPECT_EQ(Text(), first);
    // With the dialogs gone the next click is the window's again.
    Steps(60);
    Click();
    Steps(2);
    EXPECT_NE(Text(), first);
}
