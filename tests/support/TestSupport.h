#pragma once

// Fakes shared by the test programs: the log sink and the message boxes.
#include "AppLog.h"
#include "MessageBoxes.h"

#include <QStringList>

// Captures application log lines for the life of the object.
class CapturedLog {
public:
    CapturedLog() { m_previous = setLogSink([this](const QString& line) { lines << line; }); }
    ~CapturedLog() { setLogSink(m_previous); }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;
    QStringList lines;

private:
    LogSink m_previous;
};

// Records message boxes instead of showing them.
class RecordedMessages : public MessageBoxes {
public:
    RecordedMessages() { m_previous = MessageBoxes::install(this); }
    ~RecordedMessages() override { MessageBoxes::install(m_previous); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    struct Shown {
        QString kind, text, title;
    };
    void showError(const QString& text, const QString& title) override { shown.push_back({"error", text, title}); }
    void showMessage(const QString& text, const QString& title) override {
        shown.push_back({"message", text, title});
    }
    std::vector<Shown> shown;

private:
    MessageBoxes* m_previous = nullptr;
};
