#pragma once

// A scripted media component for logic tests: states are set by the test, calls are recorded.
#include "MediaPlayer.h"
#include "QuillonError.h"

#include <QStringList>
#include <QWidget>

// A widget like the real component, so the player window owns it the same way.
class FakeMediaPlayer : public QWidget, public MediaPlayer {
  public:
    QWidget* widget() override { return this; }

    void setURL(const QByteArray& path) override {
        check("URL");
        url = path;
        calls << QStringLiteral("URL=") + QString::fromUtf8(path);
        open = path.isEmpty() ? OpenNoMedia : openOnURL;
        state = open == OpenOpen ? PlayPlaying : PlayReady;
        source = open == OpenOpen ? QString::fromUtf8(path) : QString();
    }
    QByteArray URL() const override { return url; }
    int openState() const override { return open; }
    int playState() const override {
        check("playState");
        return state;
    }
    QString versionInfo() const override { return {}; }

    void play() override { act("play", moving()); }
    void pause() override { act("pause", PlayPaused); }
    void stop() override { act("stop", PlayStopped); }
    double currentPosition() const override {
        check("position");
        return position;
    }
    void setCurrentPosition(double seconds) override {
        check("position");
        calls << QStringLiteral("position=%1").arg(seconds);
        position = seconds;
    }
    void setRate(double rate) override {
        calls << QStringLiteral("rate=%1").arg(rate);
        currentRate = rate;
        if (state == PlayPlaying || state == PlayScanForward || state == PlayScanReverse)
            state = moving();
    }
    double rate() const override { return currentRate; }
    QString sourceURL() const override { return source; }
    void setFullScreen(bool on) override {
        calls << QStringLiteral("fullScreen=%1").arg(on ? "true" : "false");
    }
    void setChangeListener(ChangeListener) override {}

    // Script
    QStringList calls;
    QByteArray url;
    int open = OpenNoMedia;
    int openOnURL = OpenOpen; // what writing a URL leads to
    int state = PlayReady;
    double position = 0.0;
    double currentRate = 1.0;
    QString source;
    QString failOn; // the call named here raises a run-time error

  private:
    void act(const char* call, int next) {
        check(call);
        calls << QLatin1String(call);
        state = next;
    }
    int moving() const {
        return currentRate < 0 ? PlayScanReverse : currentRate > 1.25 ? PlayScanForward : PlayPlaying;
    }
    void check(const char* call) const {
        if (failOn == QLatin1String(call))
            raiseError(ErrNo::MediaFailure, QStringLiteral("fake failure in %1").arg(QLatin1String(call)));
    }
};
