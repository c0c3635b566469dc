#pragma once

#include "task/GxSeqTransitBase.h"

#include <cstdint>
#include <string>

// The way out of a defence stage: the defence screen stores a script label (or, for a called-off
// invasion, a sequence) and switches here; 61 update steps later the adventure script is started at the
// label, or the stored sequence entered. Leaving ends the stage and releases the model and unit pools.
class SeqZorReleaser : public GxSeqTransitBase
{
public:
    // Steps the releaser waits: it acts once its frame counter is above this.
    static constexpr int32_t kWaitSteps = 60;

    explicit SeqZorReleaser(GxTaskBase* parent);
    ~SeqZorReleaser() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;

    void SetJumpLabel(const std::wstring& label);
    void SetNextSequence(const std::wstring& name, uint64_t param);
    const std::wstring& GetJumpLabel() const { return m_JumpLabel; }
    const std::wstring& GetNextSequence() const { return m_NextSequence; }

protected:
    // For the invasion releaser, which shares this body under its own name and tree
    // ("$ROOT:<name>", "$UI:<name>", "$BGLAYER:<name>").
    SeqZorReleaser(GxTaskBase* parent, const wchar_t* globalName);

private:
    std::wstring m_NextSequence;
    uint64_t m_SwitchParam = 0;
    std::wstring m_JumpLabel;
};
