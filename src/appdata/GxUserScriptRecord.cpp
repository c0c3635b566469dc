#include "appdata/GxUserScriptRecord.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "script/GxMoa.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorker.h"
#include "script/GxMoaWorkerEx.h"

void GxUserScriptRecord::Write(GxContentWriterBase& writer, int32_t persistClass, Worker worker)
{
    GxMoa empty;
    GxMoaWorker emptyWorker(&empty);
    const GxMoa* moa = g_MoaInstance ? static_cast<GxMoa*>(g_MoaInstance) : &empty;
    const GxMoaWorker* main = g_MoaMainWorker ? static_cast<GxMoaWorker*>(g_MoaMainWorker) : &emptyWorker;
    moa->WriteVariables(&writer, persistClass);
    main->WriteScriptEntities(&writer, persistClass);
    if (worker == Worker::With)
        main->Write(&writer);
}

bool GxUserScriptRecord::Read(GxContentReaderBase& reader, int32_t persistClass, Worker worker)
{
    GxMoa scratch;
    GxMoaWorker scratchWorker(&scratch);
    GxMoa* moa = g_MoaInstance ? static_cast<GxMoa*>(g_MoaInstance) : &scratch;
    GxMoaWorker* main = g_MoaMainWorker ? static_cast<GxMoaWorker*>(g_MoaMainWorker) : &scratchWorker;
    bool ok = moa->ReloadVariables(&reader, persistClass);
    ok = ok && main->ReloadScriptEntities(&reader, persistClass);
    if (worker == Worker::With)
        ok = ok && main->Read(&reader);
    return ok && reader.GetErrorCount() == 0;
}

bool GxUserScriptRecord::LastReadLackedScript()
{
    return g_MoaMainWorker && !static_cast<GxMoaWorker*>(g_MoaMainWorker)->m_LackedScript.empty();
}
