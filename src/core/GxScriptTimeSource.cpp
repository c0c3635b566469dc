#include "core/GxScriptTimeSource.h"

#include "platform/PfInputScript.h"

uint64_t GxScriptTimeSource::GetTimeUs()
{
    const PfInputScript* script = PfInputScript::GetActive();
    return script ? script->GetTimeUs() : GxTimeSource::System().GetTimeUs();
}
