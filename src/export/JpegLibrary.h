#pragma once

// The JPEG library's declarations and what the export's own managers share: where a library
// call's failure goes. The library reports errors through its error exit, which never returns;
// ours jumps back to the point the conversion set with setjmp, so no C++ exception ever crosses
// the library's C frames. A framework exception raised inside one of our callbacks (a stream
// that fails, a cancelled progress dialog) is caught there, held in the client record, and sent
// the same way through the error exit; the conversion throws it again once the compressor is
// destroyed. Code between the setjmp and a library call keeps no object with a destructor on the
// stack, since the jump would skip it.

#include "foundation/Exception.h"
#include "foundation/SmartPtr.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <exception>

#include <jpeglib.h>
#include <jerror.h>

class Stream;

namespace pw::exporting {

// Hung on the compressor's client_data for the length of one conversion.
struct JpegClient {
    std::jmp_buf jump;
    // A framework exception our callback caught, held so that later throws cannot free it.
    SmartPtr<Exception> pending;
    // Anything else a callback caught (out of memory).
    std::exception_ptr pendingOther;
    // The library's own message, when the library failed.
    char message[JMSG_LENGTH_MAX] {};
};

JpegClient& ClientOf(j_common_ptr cinfo);

// Runs a callback's work; what it throws is held in the client and then raised through the
// library's error exit, after the handler has finished.
template <typename Work>
void GuardCallback(j_common_ptr cinfo, Work&& work)
{
    bool failed = false;
    try {
        work();
    } catch (Exception* exception) {
        ClientOf(cinfo).pending = exception;
        failed = true;
    } catch (...) {
        ClientOf(cinfo).pendingOther = std::current_exception();
        failed = true;
    }
    if (failed)
        (*cinfo->err->error_exit)(cinfo);
}

} // namespace pw::exporting

// Installs the destination manager that writes the compressed bytes to the stream in blocks of
// 4096 (made in the permanent pool on first use, then reused with the new stream).
void jpeg_stream_dest(j_compress_ptr cinfo, Stream& stream);
