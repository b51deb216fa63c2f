#pragma once

// Fakes shared by the test programs: the log and the message boxes; a disc folder, and lists read
// row by row.
#include "CapturedLog.h"
#include "MessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <cstdio>
#include <ftw.h>
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

// A temporary folder made, filled and removed by bytes: names that are not UTF-8 go too (QTemporaryDir
// leaves them behind).
struct TemporaryFolder {
    TemporaryFolder() { ::mkdtemp(path.data()); }
    ~TemporaryFolder() {
        ::nftw(
            path.constData(), [](const char* p, const struct stat*, int, FTW*) { return std::remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }
    // True when the file was written whole.
    bool write(const QByteArray& name, const QByteArray& bytes = {}) const {
        FILE* f = std::fopen((path + '/' + name).constData(), "wb");
        return f && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) == size_t(bytes.size()) &&
               std::fclose(f) == 0;
    }
    QByteArray path = QFile::encodeName(QDir::tempPath()) + "/quillon-test-XXXXXX";
};

// Every row of a list (its header first, where asked) as "a|b|c".
inline QStringList rows(const QTreeWidget* list, bool withHeader = false) {
    QStringList out;
    for (int i = withHeader ? -1 : 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << (i < 0 ? list->headerItem() : list->topLevelItem(i))->text(c);
        out << cells.join('|');
    }
    return out;
}
