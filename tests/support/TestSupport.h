#pragma once

// Fakes shared by the test programs: the log and the message boxes.
#include "CapturedLog.h"
#include "MessageBoxes.h"

#include <vector>

// Records message boxes instead of showing them.
class RecordedMessages : public MessageBoxes {
  public:
    struct Shown {
        QString kind, text, title;
    };
    void showError(const QString& text, const QString& title) override {
        shown.push_back({"error", text, title});
    }
    void showMessage(const QString& text, const QString& title) override {
        shown.push_back({"message", text, title});
    }
    std::vector<Shown> shown;
};
