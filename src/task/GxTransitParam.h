#pragma once

#include <cstdint>

class GxContentReaderBase;
class GxContentWriterBase;

// The state of a sequence transition, stored with the sequence.
class GxTransitParam
{
public:
    virtual ~GxTransitParam() = default;

    virtual bool Save(GxContentWriterBase* writer);
    virtual bool Load(GxContentReaderBase* reader);

    // 1.0 when no transition runs or the total is not positive; else (total - left) / total in [0, 1].
    float GetProgress() const;

    bool m_Transit = false;
    int32_t m_TransitTimeLeft = 0;
    int32_t m_TransitTimeTotal = 0;
};
