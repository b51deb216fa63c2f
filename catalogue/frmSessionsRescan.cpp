// The scan of the program's folder into Sessions and the rows of lvSessions.
#include "frmSessions.h"

#include "ErrorHandling.h"
#include "Platform.h"
#include "SessionDiscovery.h"
#include "TimeText.h"

#include <QTreeWidget>

void frmSessions::Rescan() {
    logAndRaise(SourceModule::frmSessions + QStringLiteral(".Rescan()"), [&] {
        const QList<QByteArray> names = GetFilenames(programFolder());
        for (qsizetype i = 0; i < names.size(); ++i) {
            const SessionData record = GetSessionData(names[i]);
            if (i == 0)
                Sessions = {record};
            else
                UpdateSessionData(Sessions, record);
        }

        lvSessions->clear();
        if (names.isEmpty())
            return;
        QList<QTreeWidgetItem*> rows;
        rows.reserve(Sessions.size());
        try {
            for (const SessionData& session : std::as_const(Sessions)) {
                // The Notes column is left empty; an exact name is kept only where the text cannot carry it.
                auto* row = new QTreeWidgetItem(QStringList{
                    session.Location, session.SessionDate,
                    SecondsToTime(session.StartSeconds, QStringLiteral("hh:mm:ss AMPM")),
                    QString::number(session.Channels),
                    session.Video ? QStringLiteral("Yes") : QStringLiteral("No"), session.Filename});
                if (session.Filename.toUtf8() != session.FileBytes)
                    row->setData(ColFilename, Qt::UserRole, session.FileBytes);
                rows.append(row);
            }
        } catch (...) {
            lvSessions->addTopLevelItems(rows); // the rows made so far stay
            throw;
        }
        lvSessions->addTopLevelItems(rows); // one insertion: a large disc lists fast
        lvSessions->setCurrentItem(lvSessions->topLevelItem(0));
    });
}
