#pragma once

#include "task/GxSeqBase.h"
#include "task/GxTransitParam.h"

#include <cstdint>

// A sequence with a cross-fade from the previous screen: leaving one captures the screen, and the next
// transit sequence draws that picture on layer 9 over itself, fading it out, with mouse and key input to
// it masked until the time is used up and the sequence starts.
class GxSeqTransitBase : public GxSeqBase
{
public:
    GxSeqTransitBase(GxTaskBase* parent, const wchar_t* globalName);
    ~GxSeqTransitBase() override;

    void OnSequenceLeave() override;
    int32_t UpdatePreStart(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    virtual bool StartTransit(int32_t ms);
    virtual bool CancelTransit();
    virtual bool IsTransit() const { return m_TransitParam.m_Transit; }
    virtual void DrawTransit();

    const GxTransitParam& GetTransitParam() const { return m_TransitParam; }
    GxTransitParam& GetTransitParam() { return m_TransitParam; }

private:
    GxTransitParam m_TransitParam;
};
