#pragma once

#include "task/GxSeqBase.h"

#include <string>

// What every sequence needs of the system sequence (the one always walked besides the current one, which
// owns "tip_help", "dlg_shutdown" and "dlg_user"): its user-dialog key and closing its two dialogs. The
// system sequence of the front end derives from it.
class GxSeqSystemBase : public GxSeqBase
{
public:
    GxSeqSystemBase(GxTaskBase* parent, const wchar_t* globalName);
    ~GxSeqSystemBase() override;

    const std::wstring& GetUserDialogKey() const { return m_UserDialogKey; }
    void SetUserDialogKey(const std::wstring& key) { m_UserDialogKey = key; }

    // Hide the dialog (when it is an actor) and lower the open-dialog count.
    virtual void CloseShutdownDialog();
    virtual void CloseUserDialog();

private:
    void CloseDialog(const wchar_t* name);

    std::wstring m_UserDialogKey;
};
