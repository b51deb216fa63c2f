#include "MpvRenderContext.h"

#include <mpv/render.h>
#include <utility>
#include <vector>

MpvRenderContext::MpvRenderContext(mpv_handle* mpv, std::function<void(bool)> onReady)
    : m_mpv(mpv), m_onReady(std::move(onReady)) {}

MpvRenderContext::~MpvRenderContext() {
    release();
}

void MpvRenderContext::attach(QWidget* surface, std::function<void()> current, std::function<void()> done) {
    m_surface = surface;
    m_current = std::move(current);
    m_done = std::move(done);
}

bool MpvRenderContext::create(const char* apiType, const mpv_render_param* extra) {
    if (!m_mpv || !m_surface || m_render)
        return m_render != nullptr;
    std::vector<mpv_render_param> params{{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(apiType)}};
    for (; extra && extra->type != MPV_RENDER_PARAM_INVALID; ++extra)
        params.push_back(*extra);
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    if (mpv_render_context_create(&m_render, m_mpv, params.data()) < 0) {
        m_render = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_render, &MpvRenderContext::onUpdate, this);
    m_onReady(true);
    return true;
}

void MpvRenderContext::release() {
    if (!m_render)
        return;
    m_onReady(false); // the owner turns video off while the context still exists
    if (m_current)
        m_current();
    mpv_render_context_free(m_render); // waits for mpv's video thread; no updates come after it
    m_render = nullptr;
    if (m_done)
        m_done();
}

bool MpvRenderContext::render(mpv_render_param* params) {
    return m_render && mpv_render_context_render(m_render, params) >= 0;
}

// Called on one of mpv's threads: only hand a repaint request to the GUI thread.
void MpvRenderContext::onUpdate(void* self) {
    QMetaObject::invokeMethod(static_cast<MpvRenderContext*>(self)->m_surface, "update", Qt::QueuedConnection);
}
