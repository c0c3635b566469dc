#pragma once

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"

// Actor positions, scales and rotations are held as GxVector4 with w at 0 and stored in records as
// GxVector3: three components, w back at 0 when read.
class GxActorXyz
{
public:
    static bool Write(GxContentWriterBase* writer, const char* name, const GxVector4& v)
    {
        const GxVector3 xyz(v.x, v.y, v.z);
        return writer->Write(name, &xyz);
    }
    static bool Read(GxContentReaderBase* reader, const char* name, GxVector4& v)
    {
        GxVector3 xyz(v.x, v.y, v.z);
        const bool ok = reader->Read(name, xyz);
        v = GxVector4(xyz.x, xyz.y, xyz.z, 0.0f);
        return ok;
    }
};
