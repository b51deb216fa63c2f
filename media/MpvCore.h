#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>

struct mpv_handle;
struct mpv_event;

// One libmpv instance, locked down so that it reads no configuration and writes no files. It is
// created, set up and destroyed here only. Every call is checked: a failing one raises the media
// error with mpv's own words. Commands and property writes are sent without waiting for mpv's core,
// which may be busy seeking or decoding: their failures come back as reply events (replyError()).
// What the component follows of the engine it observes (observed properties come as events).
class MpvCore {
  public:
    // wakeup runs on one of mpv's threads whenever events wait: it may only queue work elsewhere.
    explicit MpvCore(std::function<void()> wakeup);
    ~MpvCore();
    MpvCore(const MpvCore&) = delete;
    MpvCore& operator=(const MpvCore&) = delete;

    // False when libmpv could not be created or set up; every other call then does nothing.
    bool usable() const { return m_mpv != nullptr; }
    mpv_handle* handle() const { return m_mpv; }
    // The engine's version numbers ("0.35.1"); empty when it is unusable or cannot play backwards.
    QString version() const { return m_version; }

    // The next waiting event, or null when none is left.
    const mpv_event* nextEvent();

    void command(std::initializer_list<const char*> args);
    // Opens a file in place of the current one, waiting for the core; returns its playlist entry.
    quint64 loadFile(const QByteArray& path);
    void setFlag(const char* name, bool value);
    void setDouble(const char* name, double value);
    void setText(const char* name, const char* value);
    // What a reply event answers: the request (empty when not one of ours) and, when it failed,
    // mpv's words.
    struct Reply {
        QByteArray what;
        QString error;
    };
    Reply takeReply(const mpv_event& event);

    // A property's value read from the engine, waiting for its core (set-up, tests); the fallback
    // when mpv has none (no media, or not known yet).
    double readDouble(const char* name, double fallback) const;
    QByteArray readText(const char* name) const;

  private:
    bool setUp();
    // Sends a request under the next reply number, remembering what it was.
    void send(const char* what, const std::function<int(quint64)>& request);
    static void onWakeup(void* self);

    mpv_handle* m_mpv = nullptr;
    std::function<void()> m_wakeup;
    QString m_version;
    std::map<quint64, QByteArray> m_waiting; // requests sent, by their reply number, until answered
    quint64 m_lastRequest = 0;
};
