// The scan of the program's folder into Sessions and the rows of lvSessions.
#include "frmSessions.h"

#include "ErrorHandling.h"
#include "SessionDiscovery.h"
#include "TimeText.h"

#include <QTreeWidget>

void frmSessions::Rescan() {
    AppLog& log = m_services.log;
    logAndRaise(log, SourceModule::frmSessions + QStringLiteral(".Rescan()"), [&] {
        const QList<QByteArray> names = GetFilenames(log, m_services.programFolder);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const SessionData record = GetSessionData(log, m_services.programFolder, names[i]);
            if (i == 0)
                Sessions = {record};
            else
                UpdateSessionData(log, Sessions, record);
        }

        lvSessions->clear();
        if (names.isEmpty())
            return;
        QList<QTreeWidgetItem*> rows;
        rows.reserve(Sessions.size());
        try {
            for (const SessionData& session : std::as_const(Sessions)) {
                // The Notes column is left empty.
                rows.append(new QTreeWidgetItem(QStringList{
                    session.Location, session.SessionDate,
                    SecondsToTime(log, session.StartSeconds, QStringLiteral("hh:mm:ss AMPM")),
                    QString::number(session.Channels),
                    session.Video ? QStringLiteral("Yes") : QStringLiteral("No"), session.Filename}));
            }
        } catch (...) {
            lvSessions->addTopLevelItems(rows); // the rows made so far stay
            throw;
        }
        lvSessions->addTopLevelItems(rows); // one insertion: a large disc lists fast
        lvSessions->setCurrentItem(lvSessions->topLevelItem(0));
    });
}
