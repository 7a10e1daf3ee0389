#include "export/JpegLibrary.h"

#include "foundation/Stream.h"

namespace {

constexpr size_t kOutputBlockSize = 4096;

// The library's destination record, then the stream and the block the bytes collect in.
struct stream_destination_mgr {
    jpeg_destination_mgr pub;
    Stream* stream;
    JOCTET* buffer;
};

stream_destination_mgr& DestinationOf(j_compress_ptr cinfo)
{
    return *reinterpret_cast<stream_destination_mgr*>(cinfo->dest);
}

void InitDestination(j_compress_ptr cinfo)
{
    stream_destination_mgr& dest = DestinationOf(cinfo);
    dest.buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kOutputBlockSize));
    dest.pub.next_output_byte = dest.buffer;
    dest.pub.free_in_buffer = kOutputBlockSize;
}

// The stream's own exception is the only write failure: no count is checked.
void WriteBlock(j_compress_ptr cinfo, size_t count)
{
    stream_destination_mgr& dest = DestinationOf(cinfo);
    pw::exporting::GuardCallback(reinterpret_cast<j_common_ptr>(cinfo),
        [&dest, count] { dest.stream->Write(dest.buffer, static_cast<uint32_t>(count)); });
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    WriteBlock(cinfo, kOutputBlockSize);
    stream_destination_mgr& dest = DestinationOf(cinfo);
    dest.pub.next_output_byte = dest.buffer;
    dest.pub.free_in_buffer = kOutputBlockSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    size_t count = kOutputBlockSize - DestinationOf(cinfo).pub.free_in_buffer;
    if (count > 0)
        WriteBlock(cinfo, count);
}

} // namespace

void jpeg_stream_dest(j_compress_ptr cinfo, Stream& stream)
{
    if (!cinfo->dest) {
        auto* dest = static_cast<stream_destination_mgr*>((*cinfo->mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(stream_destination_mgr)));
        *dest = stream_destination_mgr {};
        dest->pub.init_destination = InitDestination;
        dest->pub.empty_output_buffer = EmptyOutputBuffer;
        dest->pub.term_destination = TermDestination;
        cinfo->dest = &dest->pub;
    }
    DestinationOf(cinfo).stream = &stream;
}
