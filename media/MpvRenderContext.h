#pragma once

#include "VideoFrame.h"

#include <QSize>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct mpv_handle;
struct mpv_render_context;
struct mpv_render_param;
class QThread;

// A way of drawing mpv's frames into memory. It lives on the render thread from setUp() to tearDown().
class FrameDrawing {
  public:
    virtual ~FrameDrawing() = default;
    // Readies the drawing; false when it cannot draw here.
    virtual bool setUp() = 0;
    // The parameters the render context is created with (API type first), without the closing entry.
    virtual std::vector<mpv_render_param> contextParams() = 0;
    // Draws mpv's current frame at `size` pixels into `frame`; false when nothing was drawn.
    virtual bool draw(mpv_render_context* render, VideoFrame& frame, QSize size) = 0;
    virtual void tearDown() = 0;
};

// mpv's render context, drawn through on a thread of its own. The GUI thread never waits for a frame:
// mpv's frame timing blocks only the render thread, which hands each finished picture over (three
// pictures take turns: one drawn, one waiting, one shown), and the GUI thread only paints it. Nor can
// the render thread wait for the GUI thread or for mpv's core, which wait for each other.
class MpvRenderContext {
  public:
    // onReady(false) is said on the GUI thread before the context goes; onFrame(), on the render
    // thread, whenever a new picture waits to be shown.
    MpvRenderContext(mpv_handle* mpv, std::unique_ptr<FrameDrawing> drawing,
                     std::function<void(bool)> onReady, std::function<void()> onFrame);
    ~MpvRenderContext();
    MpvRenderContext(const MpvRenderContext&) = delete;
    MpvRenderContext& operator=(const MpvRenderContext&) = delete;

    // Starts the render thread and waits until its context exists; false when it could not be made
    // (no video then, sound still plays).
    bool start();
    bool ready() const { return m_ready; }
    // Stops the render thread and frees the context; no frame comes after it.
    void release();
    // The size in pixels the pictures are drawn at; empty: frames are taken but not drawn.
    void setTargetSize(QSize pixels);
    // The newest picture (GUI thread): valid until the next call; null when there is none.
    const QImage& latestFrame();
    // Forgets the pictures drawn so far (another media comes).
    void clearFrames();

  private:
    void run();
    void drawFrames(mpv_render_context* render);
    static void onUpdate(void* self);

    mpv_handle* m_mpv;
    std::unique_ptr<FrameDrawing> m_drawing;
    std::function<void(bool)> m_onReady;
    std::function<void()> m_onFrame;
    QThread* m_thread = nullptr;
    bool m_ready = false;

    std::mutex m_mutex; // guards what follows
    std::condition_variable m_wake;
    bool m_started = false, m_created = false, m_stop = false, m_updated = false;
    QSize m_size;
    // Three pictures take turns: the render thread draws into m_frames[m_back], the newest finished
    // one is m_frames[m_waiting] (fresh until shown), the GUI thread paints m_frames[m_shown].
    VideoFrame m_frames[3];
    int m_back = 0, m_waiting = 1, m_shown = 2;
    bool m_fresh = false;
};
