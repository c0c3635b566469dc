#pragma once

#include "core/GxBinBuffer.h"
#include "core/GxContentReaderBase.h"

#include <memory>
#include <string>

// A content file read whole for one of the graphics loaders: the text form opens with 'T' and its root
// record ("TMTL", "TGEO"), the binary form with the same kind under 'B'. The buffer lives as long as the
// reader that reads from it.
class GxContentFile
{
public:
    // Loads `path`, picks the reader by the first byte and reads the header of root record
    // textRoot / binaryRoot. False for a missing or empty file: the file layer names a missing one, and
    // IsEmpty tells the loader that the file was there with no bytes, for it to name.
    bool Open(const std::wstring& path, const char* textRoot, const char* binaryRoot);
    bool IsEmpty() const { return m_Empty; }
    GxContentReaderBase& GetReader() { return *m_pReader; }

private:
    GxBinBuffer m_Buffer;
    std::unique_ptr<GxContentReaderBase> m_pReader;
    bool m_Empty = false;
};
