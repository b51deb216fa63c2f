#include "MpvCore.h"

#include "QuillonError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <mpv/client.h>
#include <utility>
#include <vector>

namespace {
// Set before mpv_initialize: no configuration, scripts or side files are read and nothing is written.
// An option this libmpv does not know stands for a feature it does not have, so it is skipped.
constexpr std::pair<const char*, const char*> kLockedDown[] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-builtin-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"audio-file-auto", "no"},
    {"sub-auto", "no"},
    {"cover-art-auto", "no"},
    {"autoload-files", "no"},
    {"access-references", "no"},
    {"osd-level", "0"},
    {"hr-seek", "yes"},
    {"keep-open", "yes"},
    {"idle", "yes"},
    // The desktop's sound servers only: probing SDL's audio leaks, and JACK may start a server.
    {"ao", "pipewire,pulse,alsa"},
    {"audio-fallback-to-null", "yes"},
    {"volume", "50"},
    {"terminal", "no"},
    // later libmpv versions cache shaders on disk unless told not to
    {"gpu-shader-cache", "no"},
    {"icc-cache", "no"},
    {"vo", "libmpv"},
    // Decoding is in software: no GPU decoder bridges, whose probing prints "Cannot load libcuda.so.1".
    {"gpu-hwdec-interop", "no"},
    // The picture is never enlarged: a small video shows at its own size, a large one shrinks to fit.
    {"video-unscaled", "downscale-big"},
    // The plain filter libmpv scaled with by default until 0.37: the multi-pass filters later versions
    // default to come out black, whole or in part, through Mesa's GL, and small recordings gain nothing.
    {"scale", "bilinear"},
    {"cscale", "bilinear"},
    {"dscale", "bilinear"},
    {"demuxer-max-back-bytes", "16MiB"}, // played data kept for going back: plenty, and memory stays flat
    {"mute", "no"},
    {"speed", "1"},
};

void check(int rc, const char* what) {
    if (rc < 0)
        raiseError(ErrNo::MediaFailure, QStringLiteral("%1 (%2)").arg(QString::fromUtf8(mpv_error_string(rc)),
                                                                      QLatin1String(what)));
}

// Without a sound card or a sound server there is nothing to probe: the silent output at once, so
// opening stays quick and no sound library is loaded in vain.
bool soundOutputLikely() {
    const QDir cards(QStringLiteral("/dev/snd"));
    if (cards.exists() && !cards.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot).isEmpty())
        return true;
    if (qEnvironmentVariableIsSet("PULSE_SERVER") || qEnvironmentVariableIsSet("PIPEWIRE_REMOTE"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && (QFileInfo::exists(runtime + QStringLiteral("/pipewire-0")) ||
                                  QFileInfo::exists(runtime + QStringLiteral("/pulse/native")));
}

// The video's GL drivers cache compiled shaders under the user's cache folder; the program writes no
// files, so both caches are turned off before the first GL context exists (and before mpv's threads).
void keepShadersOffDisk() {
    static const bool done = [] {
        QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
        if (!qEnvironmentVariableIsSet("MESA_SHADER_CACHE_DISABLE"))
            qputenv("MESA_SHADER_CACHE_DISABLE", "true");
        return true;
    }();
    (void)done;
}
} // namespace

MpvCore::MpvCore(std::function<void()> wakeup) : m_wakeup(std::move(wakeup)) {
    keepShadersOffDisk();
    m_mpv = mpv_create();
    if (m_mpv && !setUp()) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
    }
    if (m_mpv) // last: from here on events may come
        mpv_set_wakeup_callback(m_mpv, &MpvCore::onWakeup, this);
}

MpvCore::~MpvCore() {
    if (!m_mpv)
        return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

bool MpvCore::setUp() {
    for (const auto& [name, value] : kLockedDown) {
        const int rc = mpv_set_option_string(m_mpv, name, value);
        if (rc < 0 && rc != MPV_ERROR_OPTION_NOT_FOUND)
            return false;
    }
    if (!soundOutputLikely() && mpv_set_option_string(m_mpv, "ao", "null") < 0)
        return false;
    if (mpv_initialize(m_mpv) < 0)
        return false;
    // Reverse playback is a property renamed in later versions.
    const bool canPlayBackward = !readText("play-dir").isNull() || !readText("direction").isNull();
    const auto match = QRegularExpression(QStringLiteral("\\d+(\\.\\d+)*"))
                           .match(QString::fromUtf8(readText("mpv-version")));
    if (match.hasMatch() && canPlayBackward)
        m_version = match.captured(0);
    return mpv_request_log_messages(m_mpv, "warn") >= 0 &&
           mpv_observe_property(m_mpv, 0, "time-pos", MPV_FORMAT_DOUBLE) >= 0 &&
           mpv_observe_property(m_mpv, 0, "eof-reached", MPV_FORMAT_FLAG) >= 0 &&
           mpv_observe_property(m_mpv, 0, "duration", MPV_FORMAT_DOUBLE) >= 0 &&
           mpv_observe_property(m_mpv, 0, "track-list", MPV_FORMAT_NODE) >= 0 &&
           mpv_observe_property(m_mpv, 0, "current-ao", MPV_FORMAT_STRING) >= 0;
}

void MpvCore::onWakeup(void* self) {
    static_cast<MpvCore*>(self)->m_wakeup();
}

const mpv_event* MpvCore::nextEvent() {
    if (!m_mpv)
        return nullptr;
    const mpv_event* event = mpv_wait_event(m_mpv, 0);
    return event->event_id == MPV_EVENT_NONE ? nullptr : event;
}

void MpvCore::command(std::initializer_list<const char*> args) {
    if (!m_mpv || args.size() == 0)
        return;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    send(argv.front(), [&](quint64 id) { return mpv_command_async(m_mpv, id, argv.data()); });
}

quint64 MpvCore::loadFile(const QByteArray& path) {
    if (!m_mpv)
        return 0;
    // By name: the command's arguments moved between versions (from 0.38 an index comes before the
    // options), and named ones are read alike by all.
    char* keys[] = {const_cast<char*>("name"), const_cast<char*>("url"), const_cast<char*>("flags")};
    mpv_node values[3];
    const char* texts[] = {"loadfile", path.constData(), "replace"};
    for (int i = 0; i < 3; ++i) {
        values[i].format = MPV_FORMAT_STRING;
        values[i].u.string = const_cast<char*>(texts[i]);
    }
    mpv_node_list arguments{3, values, keys};
    mpv_node request;
    request.format = MPV_FORMAT_NODE_MAP;
    request.u.list = &arguments;
    mpv_node result;
    check(mpv_command_node(m_mpv, &request, &result), "loadfile");
    quint64 entry = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry = static_cast<quint64>(result.u.list->values[i].u.int64);
        }
    }
    mpv_free_node_contents(&result);
    return entry;
}

void MpvCore::setFlag(const char* name, bool value) {
    int flag = value ? 1 : 0;
    if (m_mpv)
        send(name,
             [&](quint64 id) { return mpv_set_property_async(m_mpv, id, name, MPV_FORMAT_FLAG, &flag); });
}

void MpvCore::setDouble(const char* name, double value) {
    if (m_mpv)
        send(name,
             [&](quint64 id) { return mpv_set_property_async(m_mpv, id, name, MPV_FORMAT_DOUBLE, &value); });
}

void MpvCore::setText(const char* name, const char* value) {
    if (m_mpv)
        send(name,
             [&](quint64 id) { return mpv_set_property_async(m_mpv, id, name, MPV_FORMAT_STRING, &value); });
}

void MpvCore::send(const char* what, const std::function<int(quint64)>& request) {
    m_waiting[++m_lastRequest] = what;
    const int rc = request(m_lastRequest);
    if (rc < 0)
        m_waiting.erase(m_lastRequest);
    check(rc, what);
}

MpvCore::Reply MpvCore::takeReply(const mpv_event& event) {
    const auto request = m_waiting.find(event.reply_userdata);
    if (request == m_waiting.end())
        return {};
    Reply reply{request->second, {}};
    m_waiting.erase(request);
    if (event.error < 0)
        reply.error = QStringLiteral("%1 (%2)").arg(QString::fromUtf8(mpv_error_string(event.error)),
                                                    QString::fromUtf8(reply.what));
    return reply;
}

double MpvCore::readDouble(const char* name, double fallback) const {
    double value = 0.0;
    if (!m_mpv || mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value))
        return fallback;
    return value;
}

QByteArray MpvCore::readText(const char* name) const {
    char* value = m_mpv ? mpv_get_property_string(m_mpv, name) : nullptr;
    if (!value)
        return {};
    QByteArray text(value);
    mpv_free(value);
    return text;
}
