// The player window on the session bus as an MPRIS 2 media player.
#include "MprisPlayer.h"

#include "ErrorHandling.h"
#include "MediaPlayer.h"
#include "MprisAdaptors.h"
#include "Transport.h"
#include "UnhandledError.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusMessage>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kBusName = QStringLiteral("org.mpris.MediaPlayer2.quillon");
// A position this far from where playback would have taken it was moved by a seek.
constexpr double kJumpSeconds = 1.0;

QString procName(const char* name) {
    return QStringLiteral("Quillon502.MprisPlayer.") + QLatin1String(name);
}

bool moving(int state) {
    return state == MediaPlayer::PlayPlaying || state == MediaPlayer::PlayScanForward ||
           state == MediaPlayer::PlayScanReverse;
}

qint64 microseconds(double seconds) {
    return std::llround(seconds * 1e6);
}

// Whether the position left the stretch that playback at either rate (0: still) could have covered.
bool jumped(double before, double now, double elapsed, double rateBefore, double rateNow) {
    const double a = elapsed * rateBefore, b = elapsed * rateNow;
    return now < before + std::min({0.0, a, b}) - kJumpSeconds ||
           now > before + std::max({0.0, a, b}) + kJumpSeconds;
}
} // namespace

MprisPlayer::MprisPlayer(frmMain& window, AppLog& log, MessageBoxes& messages)
    : m_window(window), m_log(log), m_messages(messages) {
    new MprisRootAdaptor(this);
    auto* player = new MprisPlayerAdaptor(this);
    connect(this, &MprisPlayer::seeked, player, &MprisPlayerAdaptor::Seeked);
    m_shown = playerProperties();
    noticeJump();
}

MprisPlayer::~MprisPlayer() {
    if (m_busName.isEmpty())
        return;
    m_bus.unregisterService(m_busName);
    m_bus.unregisterObject(kObjectPath);
}

bool MprisPlayer::registerOn(const QDBusConnection& bus) {
    m_bus = bus;
    const QString names[] = {
        kBusName, kBusName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())};
    if (m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) {
        for (const QString& name : names) {
            if (m_bus.registerService(name)) {
                m_busName = name;
                break;
            }
        }
        if (m_busName.isEmpty())
            m_bus.unregisterObject(kObjectPath);
    }
    if (m_busName.isEmpty()) {
        logAndCarryOn(m_log, procName("registerOn()"), [&] {
            raiseError(ErrNo::InvalidCall, QStringLiteral("The session bus took no media player: ") +
                                               m_bus.lastError().message());
        });
        return false;
    }
    connect(this, &MprisPlayer::propertiesChanged, this,
            [this](const QString& interface, const QVariantMap& changed) {
                QDBusMessage signal =
                    QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                               QStringLiteral("PropertiesChanged"));
                signal << interface << changed << QStringList();
                m_bus.send(signal);
            });
    return true;
}

MediaPlayer* MprisPlayer::media() const {
    return m_window.player();
}

// The media component's own bar knows the media's length (its seek slider counts milliseconds) and
// holds the volume: the program's interface to the component has neither.
QSlider* MprisPlayer::barSlider(const char* name) const {
    QWidget* component = media() ? media()->widget() : nullptr;
    return component ? component->findChild<QSlider*>(QLatin1String(name)) : nullptr;
}

double MprisPlayer::length() const {
    const QSlider* seek = barSlider("MPlayerSeek");
    return seek ? seek->maximum() / 1000.0 : 0.0;
}

QDBusObjectPath MprisPlayer::trackId() const {
    const QByteArray file =
        QCryptographicHash::hash(m_window.session().path(), QCryptographicHash::Md5).toHex();
    return QDBusObjectPath(QStringLiteral("/com/vantrel/quillon/session_") + QLatin1String(file));
}

QString MprisPlayer::playbackStatus() const {
    int state = MediaPlayer::PlayStopped;
    skipErrors([&] { state = media() ? media()->playState() : state; });
    return moving(state)                      ? QStringLiteral("Playing")
           : state == MediaPlayer::PlayPaused ? QStringLiteral("Paused")
                                              : QStringLiteral("Stopped");
}

QVariantMap MprisPlayer::metadata() const {
    QVariantMap data{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId())},
                     {QStringLiteral("xesam:title"), m_window.windowTitle()}};
    if (const double seconds = length(); seconds > 0)
        data.insert(QStringLiteral("mpris:length"), qlonglong(microseconds(seconds)));
    // The recording's date and time of day as the name gives them: a wall-clock reading, no zone.
    if (const auto& start = m_window.session().RecordingStart)
        data.insert(QStringLiteral("xesam:contentCreated"),
                    start->toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    return data;
}

qint64 MprisPlayer::position() const {
    double seconds = 0.0;
    skipErrors([&] { seconds = media() ? media()->currentPosition() : 0.0; });
    return microseconds(seconds);
}

// Scanning is no speed of the slider: the desktop reads the speed the scan returns to.
double MprisPlayer::rate() const {
    const double engine = media() ? media()->rate() : 1.0;
    return std::find(std::begin(Transport::Speeds), std::end(Transport::Speeds), engine) !=
                   std::end(Transport::Speeds)
               ? engine
               : m_window.transport().PlayRate();
}

double MprisPlayer::minimumRate() {
    return Transport::Speeds[0];
}

double MprisPlayer::maximumRate() {
    return Transport::Speeds[std::size(Transport::Speeds) - 1];
}

double MprisPlayer::volume() const {
    const QSlider* slider = barSlider("MPlayerVolume");
    return slider ? double(slider->value() - slider->minimum()) /
                        std::max(1, slider->maximum() - slider->minimum())
                  : 1.0;
}

bool MprisPlayer::canPlay() const {
    return media() && media()->openState() == MediaPlayer::OpenOpen;
}

QVariantMap MprisPlayer::playerProperties() const {
    const bool open = canPlay();
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("Rate"), rate()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanPlay"), open},
            {QStringLiteral("CanPause"), open},
            {QStringLiteral("CanSeek"), open}};
}

void MprisPlayer::refresh() {
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (m_shown.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    m_shown = now;
    if (!changed.isEmpty())
        emit propertiesChanged(kPlayerInterface, changed);
    noticeJump();
}

void MprisPlayer::noticeJump() {
    double now = m_lastPosition, rateNow = 0.0;
    skipErrors([&] {
        if (!media())
            return;
        now = media()->currentPosition();
        rateNow = moving(media()->playState()) ? media()->rate() : 0.0;
    });
    const double elapsed = m_sinceLast.isValid() ? m_sinceLast.restart() / 1000.0 : 0.0;
    const bool seen = m_sinceLast.isValid();
    m_sinceLast.start();
    if (seen && jumped(m_lastPosition, now, elapsed, m_lastRate, rateNow))
        emit seeked(microseconds(now));
    m_lastPosition = now;
    m_lastRate = rateNow;
}

void MprisPlayer::act(const QString& procName, const std::function<void()>& body) {
    try {
        procName.isEmpty() ? body() : logAndRaise(m_log, procName, body);
    } catch (...) {
        // As an on-screen control's failure: shown to the user, once the desktop has its answer.
        // One message at a time: calls go on arriving while it is shown, and are only logged.
        const QuillonError error = currentError();
        if (!*m_showingError) {
            *m_showingError = true;
            QTimer::singleShot(0, &m_window, [&messages = m_messages, error, showing = m_showingError] {
                reportUnhandledError(messages, error);
                *showing = false;
            });
        }
        skipErrors([this] { refresh(); });
        throw error;
    }
    skipErrors([this] { refresh(); });
}

void MprisPlayer::Raise() {
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.raise();
    m_window.activateWindow();
}

void MprisPlayer::Play() {
    act({}, [this] { m_window.transport().cmbPlay_Click(); });
}

// The pause button resumes what is paused: here only what moves is paused.
void MprisPlayer::Pause() {
    act({}, [this] {
        if (media() && moving(media()->playState()))
            m_window.transport().cmbPause_Click();
    });
}

// The pause button, except that what stands stopped is started by the play button.
void MprisPlayer::PlayPause() {
    act({}, [this] {
        const int state = media() ? media()->playState() : MediaPlayer::PlayStopped;
        moving(state) || state == MediaPlayer::PlayPaused ? m_window.transport().cmbPause_Click()
                                                          : m_window.transport().cmbPlay_Click();
    });
}

void MprisPlayer::Stop() {
    act(procName("Stop()"), [this] {
        if (!media())
            raiseObjectNotSet();
        media()->stop();
    });
}

void MprisPlayer::jumpTo(double seconds) {
    m_window.transport().jumpTo(seconds);
    m_lastPosition = seconds;
    m_sinceLast.start();
    emit seeked(microseconds(seconds));
}

// Past the end would go to the next track, and there is none.
void MprisPlayer::Seek(qint64 offsetUs) {
    act(procName("Seek()"), [&] {
        const double target = std::max(0.0, (position() + offsetUs) / 1e6);
        if (const double end = length(); end <= 0 || target <= end)
            jumpTo(target);
    });
}

void MprisPlayer::SetPosition(const QDBusObjectPath& track, qint64 positionUs) {
    act(procName("SetPosition()"), [&] {
        const double target = positionUs / 1e6, end = length();
        if (track == trackId() && target >= 0 && (end <= 0 || target <= end))
            jumpTo(target);
    });
}

// The nearest of the slider's speeds moves the slider and runs its click; no speed at all pauses.
void MprisPlayer::setRate(double rate) {
    if (std::isnan(rate))
        return;
    if (rate <= 0) {
        Pause();
        return;
    }
    const auto nearest =
        std::min_element(std::begin(Transport::Speeds), std::end(Transport::Speeds),
                         [rate](double a, double b) { return std::abs(a - rate) < std::abs(b - rate); });
    act({}, [&] { m_window.transport().moveSpeedSlider(int(nearest - std::begin(Transport::Speeds))); });
}

// As a move of the bar's volume slider.
void MprisPlayer::setVolume(double volume) {
    if (QSlider* slider = barSlider("MPlayerVolume"); slider && !std::isnan(volume))
        act({}, [&] {
            slider->setValue(slider->minimum() + int(std::lround(std::clamp(volume, 0.0, 1.0) *
                                                                 (slider->maximum() - slider->minimum()))));
        });
}

std::unique_ptr<MediaControls> sessionBusMediaControls(frmMain& window, AppLog& log, MessageBoxes& messages) {
    // Without an address there is no bus: connecting would start one by X11 autolaunch.
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty() || address.startsWith("disabled:"))
        return nullptr;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    auto controls = std::make_unique<MprisPlayer>(window, log, messages);
    return controls->registerOn(bus) ? std::move(controls) : nullptr;
}
