// Notes document: the notes list and the session information list.
#include "NotesPanel.h"

#include "DesignedLayout.h"
#include "ErrorHandling.h"
#include "Guid.h"
#include "NotesDocument.h"
#include "NotesFiles.h"
#include "Platform.h"
#include "SessionData.h"
#include "TimeText.h"

#include <QLabel>
#include <QTreeWidget>
#include <memory>
#include <vector>

namespace {
using namespace DesignedLayout;

QString procName(const char* name) {
    return SourceModule::frmMain + QLatin1String(name);
}

QTreeWidget* reportList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    makeReportList(list);
    list->setFont(sansFont(StandardFontPx));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, QColor(224, 224, 224));
    list->setPalette(palette);
    return list;
}

void addColumns(QTreeWidget* list, const QStringList& headers, std::initializer_list<int> widthsTwips) {
    list->setHeaderLabels(headers);
    int column = 0;
    for (const int twips : widthsTwips)
        list->setColumnWidth(column++, Twips::toPixels(twips));
}

// Hands a batch of rows to a list in one insertion, so the view hears of them once.
class RowBatch {
  public:
    explicit RowBatch(qsizetype expected) { m_rows.reserve(static_cast<size_t>(expected)); }
    void add(QStringList texts) { m_rows.push_back(std::make_unique<QTreeWidgetItem>(std::move(texts))); }
    QTreeWidgetItem* last() const { return m_rows.back().get(); }
    void addTo(QTreeWidget* list) {
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(m_rows.size()));
        for (std::unique_ptr<QTreeWidgetItem>& row : m_rows)
            items << row.release();
        m_rows.clear();
        list->addTopLevelItems(items);
    }

  private:
    std::vector<std::unique_ptr<QTreeWidgetItem>> m_rows;
};
} // namespace

NotesPanel::NotesPanel(QWidget* window, AppLog& log) : QObject(window), m_log(log) {
    Label1 =
        place(new QLabel(QStringLiteral("Session Information"), window), "Label1", 6165, 2565, 1815, 240);
    Label1->setFont(sansFont(LargeFontPx));
    setTextColour(Label1, Yellow);
    lvData = place(reportList(window), "lvData", 5265, 2880, 3435, 1950);
    lvNotes = place(reportList(window), "lvNotes", 45, 4950, 9735, 2040);
    // The notes list has no heading on the window: a screen reader names it by what it holds.
    lvNotes->setAccessibleName(QStringLiteral("Notes"));
    lvData->setAccessibleName(Label1->text());
    Label1->setBuddy(lvData);
}

void NotesPanel::addColumns() {
    ::addColumns(lvNotes, {QStringLiteral("Time"), QStringLiteral("Source"), QStringLiteral("Note")},
                 {1100, 2500, 5800});
    ::addColumns(lvData, {QStringLiteral("Field"), QStringLiteral("Value")}, {1300, 1800});
}

int NotesPanel::noteCount() const {
    return lvNotes->topLevelItemCount();
}

std::optional<QString> NotesPanel::selectedNoteTime() const {
    const QList<QTreeWidgetItem*> selected = lvNotes->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first()->text(0);
}

std::optional<NotesPanel::Times> NotesPanel::LoadXML(const SessionData& session, QTreeWidget* ListNotes) {
    const QString source = procName(".LoadXML()");
    return logAndRaise(m_log, source, [&]() -> std::optional<Times> {
        if (session.FileBytes.isEmpty())
            return std::nullopt;
        if (!ListNotes)
            raiseObjectNotSet();
        const std::optional<QByteArray> path = NotesFiles::findFirst(session.Folder, session.NotesCandidates);
        if (!path) {
            InitMetaData(session, nullptr);
            return std::nullopt;
        }

        NotesContent content;
        {
            NotesDocument document;
            if (!document.loadFile(*path)) {
                // A damaged notes file must not keep anyone from hearing the recording: note it
                // in the log and go on as if there were none.
                ErrorRecord record;
                LogError(m_log, record, source, ErrNo::XmlFailure, 0, document.errorText(),
                         QStringLiteral("pugixml"), QString(), QStringLiteral("0"), QString());
                InitMetaData(session, nullptr);
                return std::nullopt;
            }
            content = document.content();
        } // the tree is gone before the rows are built
        if (content.notesFound > content.notes.size() || content.itemsFound > content.items.size()) {
            ErrorRecord record;
            LogError(m_log, record, source, ErrNo::Overflow, 0,
                     QStringLiteral(
                         "%1 shows the first %2 of its %3 notes and the first %4 of its %5 header items")
                         .arg(displayFileName(*path), QString::number(content.notes.size()),
                              QString::number(content.notesFound), QString::number(content.items.size()),
                              QString::number(content.itemsFound)),
                     QString(), QString(), QStringLiteral("0"), QString());
        }

        RowBatch rows(content.notes.size());
        for (const NoteEntry& note : std::as_const(content.notes))
            rows.add({formatTimeAmPm(shownText(note.time)), shownText(note.speaker), shownText(note.text)});
        content.notes.clear();
        ListNotes->clear();
        rows.addTo(ListNotes);

        InitMetaData(session, &content);
        return Times{shownText(content.started), shownText(content.finished)};
    });
}

void NotesPanel::InitMetaData(const SessionData& session, const NotesContent* content) {
    logAndRaise(m_log, procName(".InitMetaData()"), [&] {
        lvData->clear();
        new QTreeWidgetItem(lvData, QStringList{QStringLiteral("Location"), session.Location});
        new QTreeWidgetItem(lvData, QStringList{QStringLiteral("Date"), session.SessionDate});
        if (!content)
            return;

        RowBatch rows(content->items.size() + 1);
        if (!content->duration.trimmed().isEmpty())
            rows.add({QStringLiteral("Total Duration"), shownText(content->duration)});
        for (const HeaderEntry& item : content->items) {
            rows.add({shownText(item.name), shownText(item.value)});
            rows.last()->setData(0, Qt::UserRole, CreateGUID(m_log));
        }
        rows.addTo(lvData);
    });
}
