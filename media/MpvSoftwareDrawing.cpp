#include "MpvSoftwareDrawing.h"

#include <mpv/render.h>

namespace {
// QImage::Format_RGB32 in memory order, so the picture is painted without a conversion.
char* rgb32Format() {
    static char littleEndian[] = "bgr0", bigEndian[] = "0rgb";
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? littleEndian : bigEndian;
}
} // namespace

std::vector<mpv_render_param> MpvSoftwareDrawing::contextParams() {
    return {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)}};
}

bool MpvSoftwareDrawing::draw(mpv_render_context* render, VideoFrame& frame, QSize size) {
    if (!frame.reserve(size, QImage::Format_RGB32))
        return false;
    int pixels[2] = {size.width(), size.height()};
    size_t stride = frame.stride();
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, pixels},
                                 {MPV_RENDER_PARAM_SW_FORMAT, rgb32Format()},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, frame.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(render, params) >= 0;
}
