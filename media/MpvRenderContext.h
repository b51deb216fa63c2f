#pragma once

#include <QWidget>
#include <functional>

struct mpv_handle;
struct mpv_render_context;
struct mpv_render_param;

// The render context the video is drawn through, the same for either way of drawing: mpv's wishes to
// draw become repaints of the surface on the GUI thread, and the owner hears when drawing becomes
// possible and, before the context goes, when it stops.
class MpvRenderContext {
  public:
    MpvRenderContext(mpv_handle* mpv, std::function<void(bool)> onReady);
    ~MpvRenderContext();
    MpvRenderContext(const MpvRenderContext&) = delete;
    MpvRenderContext& operator=(const MpvRenderContext&) = delete;

    // The widget that draws; current() and done() bracket the free where the context needs the
    // surface's GL context current.
    void attach(QWidget* surface, std::function<void()> current = {}, std::function<void()> done = {});
    // Creates the context of the given API with its extra parameters (a list ending in
    // MPV_RENDER_PARAM_INVALID, or null). False when it failed: no video then, sound still plays.
    bool create(const char* apiType, const mpv_render_param* extra = nullptr);
    bool ready() const { return m_render != nullptr; }
    void release();
    // Draws the current frame with the given parameters; false when nothing was drawn.
    bool render(mpv_render_param* params);

  private:
    static void onUpdate(void* self);

    mpv_handle* m_mpv;
    std::function<void(bool)> m_onReady;
    QWidget* m_surface = nullptr; // outlives the context: its owner frees the context first
    std::function<void()> m_current, m_done;
    mpv_render_context* m_render = nullptr;
};
