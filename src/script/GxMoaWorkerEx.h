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

private:
    GxCore* m_pCore;
};
