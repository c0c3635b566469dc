#pragma once

#include "task/GxSeqBase.h"

#include <cstdint>
#include <string>

// What every sequence needs of the system sequence (the one always walked besides the current one, which
// owns "tip_help", "dlg_shutdown" and "dlg_user"): its user-dialog key, closing its two dialogs and
// showing the help tip. The front end's `SeqSystem` derives from it; a system sequence that does not
// leaves the user dialog's buttons unhandled by the other sequences.
class GxSeqSystemBase : public GxSeqBase
{
public:
    GxSeqSystemBase(GxTaskBase* parent, const wchar_t* globalName);
    ~GxSeqSystemBase() override;

    const std::wstring& GetUserDialogKey() const { return m_UserDialogKey; }
    void SetUserDialogKey(const std::wstring& key) { m_UserDialogKey = key; }

    // Suspend the dialog and lower the open-dialog count (never below 0). The front end's system
    // sequence overrides them to play the close sound when asked.
    virtual void CloseShutdownDialog(bool playSound = true);
    virtual void CloseUserDialog(bool playSound = true);
    // Opens the user dialog "dlg_user" with the key, the message and the kind (2 OK/Cancel, 3 Yes/No,
    // else a lone OK). The base only stores the key; the front end's system sequence shows the dialog.
    virtual void OpenUserDialog(const wchar_t* key, const wchar_t* message, int32_t kind)
    {
        (void)message, (void)kind;
        SetUserDialogKey(key ? key : L"");
    }
    // Resumes and shows "tip_help" with the text, placed beside the position (virtual-screen pixels).
    // False when the sequence holds no tip.
    virtual bool ShowHelpTip(const wchar_t* text, float x, float y);

private:
    void CloseDialog(const wchar_t* name);

    std::wstring m_UserDialogKey;
};
