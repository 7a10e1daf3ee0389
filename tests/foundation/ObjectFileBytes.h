// An object file written to memory and read back: the bytes a save would put on disk for a root
// object under a type index, and the root those bytes open to (empty when refused, silently).
#pragma once

#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> ObjectFileBytes(const SmartPtr<TypeIndex>& index, Smart* root)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(index, stream.Get()))->Write(SmartPtr<Smart>(root));
    std::vector<uint8_t> bytes(stream->GetLength());
    stream->Seek(0, Stream::kFromStart);
    if (!bytes.empty())
        stream->Read(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

inline SmartPtr<Smart> ObjectFromBytes(const SmartPtr<TypeIndex>& index, const std::vector<uint8_t>& bytes)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    if (!bytes.empty())
        stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<ObjectFile> file = new ObjectFile(index, stream.Get());
    file->SetSilent(true);
    return file->Read();
}
