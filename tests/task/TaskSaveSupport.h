#pragma once

// Writes a record through a content writer into memory and reads it back, in either form.
#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

enum class ContentForm
{
    Binary,
    Text,
};

inline std::vector<uint8_t> SaveRecord(ContentForm form, const std::function<bool(GxContentWriterBase*)>& save)
{
    FILE* file = std::tmpfile();
    if (!file)
        return {};
    {
        std::unique_ptr<GxContentWriterBase> writer;
        if (form == ContentForm::Binary)
            writer = std::make_unique<GxContentBinaryWriter>(file);
        else
            writer = std::make_unique<GxContentTextWriter>(file);
        writer->WriteHeader("TASKTEST", 1);
        save(writer.get());
    }
    std::fflush(file);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(file)));
    std::rewind(file);
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    bytes.resize(read);
    std::fclose(file);
    return bytes;
}

inline std::unique_ptr<GxContentReaderBase> OpenRecord(ContentForm form, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<GxContentReaderBase> reader;
    if (form == ContentForm::Binary)
        reader = std::make_unique<GxContentBinaryReader>(bytes.data(), static_cast<uint32_t>(bytes.size()));
    else
        reader = std::make_unique<GxContentTextReader>(bytes.data(), static_cast<uint32_t>(bytes.size()));
    uint32_t version = 0;
    reader->ReadHeader("TASKTEST", version);
    return reader;
}
