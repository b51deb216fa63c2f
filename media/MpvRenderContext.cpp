#include "MpvRenderContext.h"

#include <QThread>
#include <mpv/render.h>
#include <utility>

MpvRenderContext::MpvRenderContext(mpv_handle* mpv, std::unique_ptr<FrameDrawing> drawing,
                                   std::function<void(bool)> onReady, std::function<void()> onFrame)
    : m_mpv(mpv), m_drawing(std::move(drawing)), m_onReady(std::move(onReady)),
      m_onFrame(std::move(onFrame)) {}

MpvRenderContext::~MpvRenderContext() {
    release();
}

bool MpvRenderContext::start() {
    if (!m_mpv || !m_drawing || m_thread)
        return m_ready;
    m_thread = QThread::create([this] { run(); });
    m_thread->setObjectName(QStringLiteral("video"));
    m_thread->start();
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_started; });
    m_ready = m_created;
    return m_ready;
}

void MpvRenderContext::release() {
    if (!m_thread)
        return;
    if (m_ready)
        m_onReady(false); // the owner turns video off while the context still exists
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread->wait(); // mpv's video output lets go of the context first
    delete m_thread;
    m_thread = nullptr;
    m_ready = false;
}

void MpvRenderContext::setTargetSize(QSize pixels) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_size == pixels)
            return;
        m_size = pixels;
    }
    m_wake.notify_all();
}

const QImage& MpvRenderContext::latestFrame() {
    const std::lock_guard lock(m_mutex);
    if (m_fresh) {
        std::swap(m_shown, m_waiting);
        m_fresh = false;
    }
    static const QImage none;
    return m_frames[m_shown].image().isNull() ? none : m_frames[m_shown].image();
}

void MpvRenderContext::clearFrames() {
    const std::lock_guard lock(m_mutex);
    m_fresh = false;
    m_frames[m_shown].clear();
    m_frames[m_waiting].clear();
}

void MpvRenderContext::run() {
    mpv_render_context* render = nullptr;
    bool created = m_drawing->setUp();
    if (created) {
        std::vector<mpv_render_param> params = m_drawing->contextParams();
        params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
        created = mpv_render_context_create(&render, m_mpv, params.data()) >= 0;
    }
    if (created)
        mpv_render_context_set_update_callback(render, &MpvRenderContext::onUpdate, this);
    {
        const std::lock_guard lock(m_mutex);
        m_started = true;
        m_created = created;
    }
    m_wake.notify_all();
    if (created) {
        drawFrames(render);
        mpv_render_context_free(render); // waits for mpv's video output; no update comes after it
    }
    m_drawing->tearDown();
}

// Draws whenever mpv has a new frame or the size changed, until told to stop. mpv_render_context_render
// waits for the frame's time to show it, so each picture is handed over when it is due.
void MpvRenderContext::drawFrames(mpv_render_context* render) {
    QSize drawn;
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [&] { return m_stop || m_updated || m_size != drawn; });
        if (m_stop)
            return;
        m_updated = false;
        const QSize size = m_size;
        lock.unlock();
        const bool newFrame = mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME;
        bool shown = false;
        if (size.isEmpty() && newFrame) { // nowhere to draw: take the frame, so playback goes on
            int skip = 1;
            mpv_render_param params[] = {{MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
                                         {MPV_RENDER_PARAM_INVALID, nullptr}};
            mpv_render_context_render(render, params);
        } else if (!size.isEmpty() && (newFrame || size != drawn)) {
            shown = m_drawing->draw(render, m_frames[m_back], size);
        }
        drawn = size;
        lock.lock();
        if (shown) {
            std::swap(m_back, m_waiting);
            m_fresh = true;
            lock.unlock();
            m_onFrame();
            lock.lock();
        }
    }
}

// Called on one of mpv's threads: only wakes the render thread.
void MpvRenderContext::onUpdate(void* self) {
    auto* context = static_cast<MpvRenderContext*>(self);
    {
        const std::lock_guard lock(context->m_mutex);
        context->m_updated = true;
    }
    context->m_wake.notify_all();
}
