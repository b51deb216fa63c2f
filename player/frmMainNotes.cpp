// Notes document: the notes list, the session information list and the start and end labels.
#include "frmMain.h"

#include "ErrorHandling.h"
#include "NotesDocument.h"
#include "NotesFiles.h"
#include "Platform.h"
#include "TimeText.h"

#include <QLabel>
#include <QTreeWidget>

#include <memory>
#include <vector>

namespace {
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

void frmMain::LoadXML(QTreeWidget* ListNotes) {
    const QString procName = SourceModule::frmMain + QStringLiteral(".LoadXML()");
    logAndRaise(procName, [&] {
        if (CurrentFilename.isEmpty())
            return;
        if (!ListNotes)
            raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        // The exact bytes on disc when they belong to the name shown; else the name itself.
        const QByteArray name =
            !CurrentFileBytes.isEmpty() && displayFileName(CurrentFileBytes) == CurrentFilename
                ? CurrentFileBytes
                : CurrentFilename.toUtf8();
        const std::optional<QByteArray> path = NotesFiles::findFor(programFolder(), name);
        if (!path) {
            InitMetaData(nullptr);
            return;
        }

        NotesContent content;
        {
            NotesDocument document;
            if (!document.loadFile(*path)) {
                // A damaged notes file must not keep anyone from hearing the recording: note it
                // in the log and go on as if there were none.
                ErrorRecord record;
                LogError(record, procName, ErrNo::XmlFailure, 0, document.errorText(),
                         QStringLiteral("pugixml"), QString(), QStringLiteral("0"), QString());
                InitMetaData(nullptr);
                return;
            }
            content = document.content();
        } // the tree is gone before the rows are built
        if (content.notesFound > content.notes.size() || content.itemsFound > content.items.size()) {
            ErrorRecord record;
            LogError(record, procName, ErrNo::Overflow, 0,
                     QStringLiteral(
                         "%1 shows the first %2 of its %3 notes and the first %4 of its %5 header items")
                         .arg(displayFileName(*path))
                         .arg(content.notes.size())
                         .arg(content.notesFound)
                         .arg(content.items.size())
                         .arg(content.itemsFound),
                     QString(), QString(), QStringLiteral("0"), QString());
        }

        RowBatch rows(content.notes.size());
        for (const NoteEntry& note : std::as_const(content.notes))
            rows.add({formatTimeAmPm(shownText(note.time)), shownText(note.speaker), shownText(note.text)});
        content.notes.clear();
        ListNotes->clear();
        rows.addTo(ListNotes);

        InitMetaData(&content);
        lblStartTime->setText(shownText(content.started));
        lblEndTime->setText(shownText(content.finished));
    });
}

void frmMain::InitMetaData(const NotesContent* content) {
    logAndRaise(SourceModule::frmMain + QStringLiteral(".InitMetaData()"), [&] {
        lvData->clear();
        CatalogueLink* catalogue = services().catalogue;
        const auto catalogueRow = [&](const QString& field, QString (CatalogueLink::*cell)() const) {
            auto* row = new QTreeWidgetItem(lvData, QStringList{field});
            if (!catalogue)
                raiseError(ErrNo::ObjectNotSet,
                           QStringLiteral("Object variable or With block variable not set"));
            row->setText(1, (catalogue->*cell)());
        };
        catalogueRow(QStringLiteral("Location"), &CatalogueLink::selectedLocation);
        catalogueRow(QStringLiteral("Date"), &CatalogueLink::selectedDate);
        if (!content)
            return;

        RowBatch rows(content->items.size() + 1);
        if (!content->duration.trimmed().isEmpty())
            rows.add({QStringLiteral("Total Duration"), shownText(content->duration)});
        for (const HeaderEntry& item : content->items) {
            rows.add({shownText(item.name), shownText(item.value)});
            rows.last()->setData(0, Qt::UserRole, CreateGUID());
        }
        rows.addTo(lvData);
    });
}
