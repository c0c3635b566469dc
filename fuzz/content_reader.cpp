// libFuzzer target for the content readers. Every input is read by both forms: once as a client reads a
// record (the first byte 'T' choosing the form), and then by each reader on its own, value by value,
// with the typed read that the next tag asks for and, now and then, a wrong one.
#include "core/GxBinBuffer.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentTextReader.h"
#include "core/GxLog.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

static void ReadByTag(GxContentReaderBase& reader, uint32_t tag)
{
    GxBinBuffer buffer;
    uint32_t count = 0;
    switch (tag)
    {
    case VALTYPE_GxS8:
        reader.GetS8("m");
        break;
    case VALTYPE_GxU8:
        reader.GetU8("m");
        break;
    case VALTYPE_GxS16:
        reader.GetS16("m");
        break;
    case VALTYPE_GxU16:
        reader.GetU16("m");
        break;
    case VALTYPE_GxS32:
        reader.GetS32("m");
        break;
    case VALTYPE_GxU32:
        reader.GetU32("m");
        break;
    case VALTYPE_GxS64:
        reader.GetS64("m");
        break;
    case VALTYPE_GxU64:
        reader.GetU64("m");
        break;
    case VALTYPE_GxF32:
        reader.GetF32("m");
        break;
    case VALTYPE_GxF64:
        reader.GetF64("m");
        break;
    case VALTYPE_GxBool:
        reader.GetBool("m");
        break;
    case VALTYPE_GxVector2:
        reader.GetVector2("m");
        break;
    case VALTYPE_GxVector3:
        reader.GetVector3("m");
        break;
    case VALTYPE_GxVector4:
        reader.GetVector4("m");
        break;
    case VALTYPE_GxQuat:
        reader.GetQuat("m");
        break;
    case VALTYPE_GxFColor:
        reader.GetFColor("m");
        break;
    case VALTYPE_GxMatrix:
        reader.GetMatrix("m");
        break;
    case VALTYPE_GxRect:
        reader.GetRect("m");
        break;
    case VALTYPE_GxFRect:
        reader.GetFRect("m");
        break;
    case VALTYPE_GxBit32:
        reader.GetBit32("m");
        break;
    case VALTYPE_GxPoint2:
        reader.GetPoint2("m");
        break;
    case VALTYPE_GxPoint3:
        reader.GetPoint3("m");
        break;
    case VALTYPE_GxPoint4:
        reader.GetPoint4("m");
        break;
    case VALTYPE_GxStringSJIS:
        reader.ReadStringA("m");
        break;
    case VALTYPE_GxStringUTF8:
        reader.ReadStringW("m");
        break;
    case VALTYPE_GxBinary:
        reader.ReadBinary("m", buffer);
        break;
    case VALTYPE_ListBegin:
        reader.ListBegin("m", count);
        break;
    case VALTYPE_ListEnd:
        reader.ListEnd();
        break;
    case VALTYPE_TreeBegin:
        reader.TreeBegin("m");
        break;
    case VALTYPE_TreeEnd:
        reader.TreeEnd();
        break;
    case VALTYPE_TreeStratumBegin:
        reader.TreeStratumBegin();
        break;
    case VALTYPE_TreeStratumEnd:
        reader.TreeStratumEnd();
        break;
    default:
        reader.SkipValue();
        break;
    }
}

static void Walk(GxContentReaderBase& reader, const char* root, size_t size)
{
    uint32_t version = 0;
    reader.ReadHeader(root, version);
    reader.SetCheckValueName(0);
    // Each step consumes at least a byte or finds the end, so size + 1 steps are always enough; the
    // bound turns a step that does not advance into a hang the fuzzer reports.
    for (size_t step = 0; step <= size + 1 && !reader.IsEnd(); ++step)
    {
        const uint32_t tag = reader.PeekValueType();
        ReadByTag(reader, step % 7 == 6 ? (tag * 5 + 3) % 53 : tag);
    }
    if (!reader.IsEnd())
        __builtin_trap();
}

// A client's read: header, a few fields, a list whose count comes from the data, a tree.
static void ReadAsClient(GxContentReaderBase& reader, const char* root)
{
    uint32_t version = 0;
    if (!reader.ReadHeader(root, version))
        return;
    reader.GetS32("m_A");
    reader.GetMatrix("m_M");
    std::wstring text;
    reader.ReadString("m_S", text);
    uint32_t count = 0;
    reader.ListBegin("m_L", count);
    for (uint32_t i = 0; i < count; ++i)
    {
        reader.GetU16("m_Id");
        reader.ReadStringA("m_Name");
    }
    reader.ListEnd();
    reader.TreeBegin("m_T");
    for (int guard = 0; guard < 1000 && reader.PeekValueType() == VALTYPE_TreeStratumBegin; ++guard)
    {
        reader.TreeStratumBegin();
        reader.GetVector3("m_P");
        reader.TreeStratumEnd();
    }
    reader.TreeEnd();
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    GxLog::SetErrorLogPath(L"");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    // A copy of exactly the input's size, so any read past it is reported.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size)
        __builtin_memcpy(copy.get(), data, size);
    const uint32_t length = static_cast<uint32_t>(size);

    if (size && copy[0] == 'T')
    {
        GxContentTextReader client(copy.get(), length);
        ReadAsClient(client, "TF");
    }
    else
    {
        GxContentBinaryReader client(copy.get(), length);
        ReadAsClient(client, "BF");
    }
    GxContentTextReader text(copy.get(), length);
    Walk(text, "TF", size);
    GxContentBinaryReader binary(copy.get(), length);
    Walk(binary, "BF", size);
    return 0;
}
