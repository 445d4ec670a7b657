#include "app/JpegPicture.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "common/Error.h"

namespace quillet {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg goes on after a warning with made-up pixels; a half-grey picture
// is no better than none, so warnings fail too.
void Message(j_common_ptr info, int level)
{
    if (level < 0) Fail(info);
}

}  // namespace

Picture DecodeJpeg(const unsigned char* data, size_t size)
{
    if (size == 0) throw QuilletError("JPEG error: empty picture data");
    Picture picture;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = Fail;
    errors.base.emit_message = Message;
    // Nothing with a destructor is made between here and the jump's target.
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw QuilletError(std::string("JPEG error: ") + errors.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    picture.rgb.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.rgb.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

}  // namespace quillet
