#include "MprisAdaptors.h"

#include "MprisPlayer.h"
#include "QuillonError.h"

#include <QDBusError>

MprisRootAdaptor::MprisRootAdaptor(MprisPlayer* player) : QDBusAbstractAdaptor(player), m_player(*player) {}

void MprisRootAdaptor::Raise() {
    m_player.Raise();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisPlayer* player)
    : QDBusAbstractAdaptor(player), m_player(*player) {}

void MprisPlayerAdaptor::answer(const std::function<void()>& call) {
    try {
        call();
    } catch (const QuillonError& error) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::Failed, error.Description);
    }
}

void MprisPlayerAdaptor::quietly(const std::function<void()>& call) {
    try {
        call();
    } catch (const QuillonError&) {
    }
}

QString MprisPlayerAdaptor::playbackStatus() const {
    return m_player.playbackStatus();
}
double MprisPlayerAdaptor::rate() const {
    return m_player.rate();
}
void MprisPlayerAdaptor::setRate(double rate) {
    quietly([&] { m_player.setRate(rate); });
}
QVariantMap MprisPlayerAdaptor::metadata() const {
    return m_player.metadata();
}
double MprisPlayerAdaptor::volume() const {
    return m_player.volume();
}
void MprisPlayerAdaptor::setVolume(double volume) {
    quietly([&] { m_player.setVolume(volume); });
}
qlonglong MprisPlayerAdaptor::position() const {
    return m_player.position();
}
double MprisPlayerAdaptor::minimumRate() const {
    return MprisPlayer::minimumRate();
}
double MprisPlayerAdaptor::maximumRate() const {
    return MprisPlayer::maximumRate();
}
bool MprisPlayerAdaptor::canPlay() const {
    return m_player.canPlay();
}

void MprisPlayerAdaptor::Play() {
    answer([this] { m_player.Play(); });
}
void MprisPlayerAdaptor::Pause() {
    answer([this] { m_player.Pause(); });
}
void MprisPlayerAdaptor::PlayPause() {
    answer([this] { m_player.PlayPause(); });
}
void MprisPlayerAdaptor::Stop() {
    answer([this] { m_player.Stop(); });
}
void MprisPlayerAdaptor::Seek(qlonglong Offset) {
    answer([&] { m_player.Seek(Offset); });
}
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    answer([&] { m_player.SetPosition(TrackId, Position); });
}
