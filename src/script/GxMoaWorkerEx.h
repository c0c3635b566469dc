#pragma once
// The main worker of the adventure game: a worker that also holds the core object for the builtins.

#include "script/GxMoaWorker.h"

class GxCore;

class GxMoaWorkerEx : public GxMoaWorker
{
public:
    GxMoaWorkerEx(GxMoa* moa, GxCore* core) : GxMoaWorker(moa), m_pCore(core) {}
    ~GxMoaWorkerEx() override = default;

    GxCore* GetCore() const { return m_pCore; }

protected:
    // A text line is a message shown by the adventure scene; an unknown word is a layer command.
    StatementEnd ExecText(GxMoaExecStackElement& frame, GxMoaScript& script, const GxMoaToken& token,
                          GxMoaBuiltinBase* builtin) override;
    StatementEnd ExecUnknownWord(GxMoaExecStackElement& frame, GxMoaScript& script, const GxMoaToken& token,
                                 GxMoaBuiltinBase* builtin) override;
    const wchar_t* UnhandledTokenFormat() const override { return L"処理できないトークンです[%s]"; }

private:
    GxCore* m_pCore;
};
