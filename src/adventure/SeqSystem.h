#pragma once

#include "task/GxSeqSystemBase.h"

#include <string>

class GxTaskUIBase;

// The system sequence: walked on every step beside the current screen, it owns the shutdown dialog, the
// user dialog and the help tip shared by all screens, and ducks the music while a character voice plays.
// The start-up hook builds it first under the root task and makes it the task manager's system sequence.
class SeqSystem : public GxSeqSystemBase
{
public:
    // The user dialog's button sets.
    enum DialogKind : int32_t
    {
        kDialogOK = 1, // any kind other than 2 and 3: the lone, centred OK
        kDialogOKCancel = 2,
        kDialogYesNo = 3,
    };
    // The user dialog is above every widget while open; the shutdown dialog gets the open count.
    static constexpr int32_t kUserDialogPriority = 16777215;
    // Music restraint moves this much per frame between 0 (fully restrained) and 100.
    static constexpr int32_t kRestrainStep = 4;

    explicit SeqSystem(GxTaskBase* parent);
    ~SeqSystem() override;

    void OpenUserDialog(const wchar_t* key, const wchar_t* message, int32_t kind);
    void CloseUserDialog(bool playSound = true) override;
    bool IsUserDialogOpen() const;
    void OpenShutdownDialog();
    void CloseShutdownDialog(bool playSound = true) override;
    bool IsShutdownDialogOpen() const;
    const std::wstring& GetShutdownDialogKey() const { return m_ShutdownDialogKey; }

    // A close request opens the shutdown dialog and keeps the window; with the dialog already open (its
    // Yes posts the close), or with no dialog to answer, the close goes ahead.
    int32_t OnCloseRequest() override;
    // Esc toggles the shutdown dialog, unless the player has hidden the message window; with no dialog to
    // answer it asks the window to close.
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // Where a dialog's Yes and No buttons sit, from the dialog's and the buttons' sizes.
    static void YesButtonPos(int32_t dialogW, int32_t dialogH, int32_t yesW, int32_t yesH, int32_t& x, int32_t& y);
    static void NoButtonPos(int32_t dialogW, int32_t dialogH, int32_t noW, int32_t noH, int32_t& x, int32_t& y);
    // One frame of the music restraint: down while a voice plays, up otherwise, within 0..100.
    static int32_t StepRestrain(int32_t factor, bool voicePlaying);

    uint32_t GetFrameCount() const { return m_FrameCount; }

private:
    void BuildWidgets();
    bool CanAskBeforeClosing();
    static void LoadWidgetImages(GxTaskBase* first);
    GxTaskUIBase* FindWidget(const wchar_t* name) const;
    GxTaskUIBase* FindDialogButton(const wchar_t* dialog, const wchar_t* localName, int32_t localIndex) const;
    void ResetInputStates(GxTaskBase* under);
    void Duck();

    std::wstring m_ShutdownDialogKey;
    uint32_t m_FrameCount = 0;
    bool m_NoDialogLogged = false;
};
