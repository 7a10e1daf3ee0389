#include "export/JpegExport.h"

#include "export/JpegBitmapSource.h"
#include "export/JpegLibrary.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/MemoryStream.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "graphics/BitMap.h"
#include "ui/ProgressRange.h"

#include <memory>

using pw::exporting::JpegClient;

namespace {

const FileType jpegFileType("JPEG Picture", pw::foundation::FourCharCode("JPEG"), pw::foundation::FourCharCode("jpg "));

// The progress range of the conversion that runs; empty between conversions.
std::unique_ptr<ProgressRange> quennelProgress;

// The library's progress record and the percentage last shown.
struct quennel_progress_mgr {
    jpeg_progress_mgr pub;
    int completed_extra_passes;
    int total_extra_passes;
    int percent_done;
};

// Moves the range by the whole percents done since the last report (the first report moves it
// by one more, from -1), so it takes at most its 100 steps.
void ProgressMonitor(j_common_ptr cinfo)
{
    auto* progress = reinterpret_cast<quennel_progress_mgr*>(cinfo->progress);
    if (progress->pub.pass_limit <= 0)
        return;
    auto percent = static_cast<int>(progress->pub.pass_counter * 100L / progress->pub.pass_limit);
    if (percent <= progress->percent_done)
        return;
    pw::exporting::GuardCallback(cinfo, [progress, percent] {
        ASSERT(quennelProgress != nullptr);
        quennelProgress->Advance(static_cast<uint32_t>(percent - progress->percent_done));
    });
    progress->percent_done = percent;
}

void start_progress_monitor(j_compress_ptr cinfo, quennel_progress_mgr* progress)
{
    if (cinfo->err->trace_level == 0) {
        progress->pub.progress_monitor = ProgressMonitor;
        progress->completed_extra_passes = 0;
        progress->total_extra_passes = 0;
        progress->percent_done = -1;
        cinfo->progress = &progress->pub;
    }
    ASSERT(quennelProgress == nullptr);
    quennelProgress = std::make_unique<ProgressRange>(100, String("Jpeg conversion"));
}

void end_progress_monitor(j_compress_ptr)
{
    ASSERT(quennelProgress != nullptr);
    quennelProgress.reset();
}

// Keeps the library's message and returns to the conversion's setjmp; never returns here.
void JpegErrorExit(j_common_ptr cinfo)
{
    JpegClient& client = pw::exporting::ClientOf(cinfo);
    if (!client.pending.Valid() && !client.pendingOther)
        (*cinfo->err->format_message)(cinfo, client.message);
    std::longjmp(client.jump, 1);
}

// One conversion: the compressor, its error manager and progress record, and what a failure left.
// Whatever way the conversion ends, the compressor is destroyed and the progress range closed.
struct Conversion {
    explicit Conversion(Stream& stream)
        : stream(stream)
    {
        cinfo.err = jpeg_std_error(&errorManager);
        errorManager.error_exit = JpegErrorExit;
        cinfo.client_data = &client;
    }
    ~Conversion() { Release(); }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    void DestroyCompressor()
    {
        pw::exporting::EndBitmapCopy();
        if (created)
            jpeg_destroy_compress(&cinfo);
        created = false;
    }

    void Release()
    {
        DestroyCompressor();
        if (progressStarted)
            quennelProgress.reset();
        progressStarted = false;
    }

    // What the library or a callback failed with, thrown once the compressor is gone.
    [[noreturn]] void ThrowFailure()
    {
        Release();
        if (client.pending.Valid())
            ThrowPointer(client.pending);
        if (client.pendingOther)
            std::rethrow_exception(client.pendingOther);
        ThrowError(client.message, PW_HERE);
    }

    Stream& stream;
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr errorManager {};
    quennel_progress_mgr progress {};
    JpegClient client;
    bool created { false };
    bool progressStarted { false };
};

// The library's part of the conversion; false when the error exit jumped back here. Keeps no
// object with a destructor on its stack (see JpegLibrary.h).
bool Compress(Conversion& conversion, BitMap& bitmap, const Rect& bounds)
{
    j_compress_ptr cinfo = &conversion.cinfo;
    if (setjmp(conversion.client.jump))
        return false;
    jpeg_create_compress(cinfo);
    conversion.created = true;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    start_progress_monitor(cinfo, &conversion.progress);
    conversion.progressStarted = true;

    bitmap_source_ptr source = pw::exporting::MakeBitmapSource(cinfo, bitmap);
    (*source->start_input)(cinfo, source, bounds.left, bounds.top, bounds.right, bounds.bottom);
    jpeg_default_colorspace(cinfo);
    jpeg_stream_dest(cinfo, conversion.stream);
    jpeg_start_compress(cinfo, TRUE);
    bool first = true;
    while (cinfo->next_scanline < cinfo->image_height) {
        JDIMENSION rows = first ? (*source->preload_image)(cinfo, source, bitmap)
                                : (*source->get_pixel_rows)(cinfo, source);
        first = false;
        jpeg_write_scanlines(cinfo, source->buffer, rows);
    }
    (*source->finish_input)(cinfo, source);
    jpeg_finish_compress(cinfo);
    return true;
}

// The library's message for a code with one number, as its own error exit would word it.
void ThrowLibraryMessage(int code, int number)
{
    jpeg_error_mgr errorManager {};
    jpeg_compress_struct cinfo {};
    cinfo.err = jpeg_std_error(&errorManager);
    errorManager.msg_code = code;
    errorManager.msg_parm.i[0] = number;
    char message[JMSG_LENGTH_MAX] {};
    (*errorManager.format_message)(reinterpret_cast<j_common_ptr>(&cinfo), message);
    ThrowError(message, PW_HERE);
}

} // namespace

namespace pw::exporting {

JpegClient& ClientOf(j_common_ptr cinfo)
{
    return *static_cast<JpegClient*>(cinfo->client_data);
}

} // namespace pw::exporting

const FileType& JPEGFileType()
{
    return jpegFileType;
}

void JpegCompressFile(BitMap& bitmap, Stream& stream)
{
    // The library would fail on these only after taking the picture's size into its arithmetic.
    Rect bounds = bitmap.GetBounds();
    int32_t width = bounds.right - bounds.left;
    int32_t height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        ThrowLibraryMessage(JERR_EMPTY_IMAGE, 0);
    if (width > pw::exporting::kMaxJpegDimension || height > pw::exporting::kMaxJpegDimension)
        ThrowLibraryMessage(JERR_IMAGE_TOO_BIG, pw::exporting::kMaxJpegDimension);

    Conversion conversion(stream);
    if (!Compress(conversion, bitmap, bounds))
        conversion.ThrowFailure();
    conversion.DestroyCompressor();
    conversion.progressStarted = false;
    end_progress_monitor(&conversion.cinfo);
}

void SaveImageAsJPEG(Image& image, FileReference& file)
{
    SmartPtr<File> output = new File(file, File::kRead | File::kWrite);
    // Fails with the system's error before any work when the file is missing or refused.
    output->GetOSFile();
    SmartPtr<BitMap> drawn;
    auto* bitmap = SmartCast<BitMap>(&image);
    if (!bitmap) {
        drawn = BitMap::RenderImage(image);
        bitmap = drawn.Get();
    }
    if (!bitmap)
        return;
    SmartPtr<MemoryStream> compressed = new MemoryStream;
    JpegCompressFile(*bitmap, *compressed.Get());

    uint32_t length = compressed->GetLength();
    output->Seek(0, Stream::kFromStart);
    output->Write(compressed->Block().Ptr(), length);
    // A longer picture written here before leaves no tail behind the new one.
    output->SetLength(length);
    output->Flush();
}
