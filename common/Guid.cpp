#include "Guid.h"

#include "ErrorHandling.h"

#include <QUuid>

QString CreateGUID(AppLog& log) {
    return logAndRaise(log, SourceModule::basGlobals + QStringLiteral(".CreateGUID()"), [&] {
        const QUuid id = QUuid::createUuid();
        if (id.isNull())
            return QString();
        return QString::fromLatin1(id.toRfc4122().toHex().toUpper());
    });
}
