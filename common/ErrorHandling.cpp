#include "ErrorHandling.h"

#include "AppLog.h"

#include <exception>

void LogError(AppLog& log, ErrorRecord& record, const QString& procName, qint32 number, qint32 line,
              const QString& description, const QString& source, const QString& helpFile,
              const QString& helpContextText, const QString& addlInfo) {
    skipErrors([&] {
        record.Number = number;
        record.LineNo = QString::number(line);
        record.ProcName = procName;
        record.Description = BuildErrorChain(description, record.ProcName, record.LineNo, record.AddlInfo);
        record.HelpContext = helpContextText.toInt();
        record.HelpFile = helpFile;
        record.Source = source;
        if (!addlInfo.isEmpty())
            record.AddlInfo = addlInfo;
        log.write(QStringLiteral("ERROR: No = ") + QString::number(record.Number) +
                  QStringLiteral(", Line No = ") + record.LineNo + QStringLiteral(", Desc = ") +
                  record.Description + QStringLiteral(", AddlInfo = ") + record.AddlInfo);
    });
}

QString BuildErrorChain(const QString& description, const QString& procName, const QString& lineNo,
                        const QString& addlInfo) {
    QString text = procName;
    if (lineNo != QLatin1String("0") && !lineNo.isEmpty())
        text += QStringLiteral(" at line: ") + lineNo;
    if (!addlInfo.isEmpty())
        text += QStringLiteral(" ( ") + addlInfo + QStringLiteral(")");
    return text + QStringLiteral(" > ") + description;
}

void RaiseRecordedError(const ErrorRecord& record) {
    if (record.Number == 0)
        return;
    throw QuillonError(record.Number, record.Description, record.Source, 0, record.HelpFile,
                       record.HelpContext);
}

QuillonError currentError() {
    try {
        throw;
    } catch (const QuillonError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return QuillonError(ErrNo::OutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        return QuillonError(ErrNo::Unknown, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return QuillonError(ErrNo::Unknown, QStringLiteral("Unknown error"));
    }
}

ErrorRecord logCurrentError(AppLog& log, const QString& procName) {
    const QuillonError e = currentError();
    ErrorRecord record;
    LogError(log, record, procName, e.Number, e.Line, e.Description, e.Source, e.HelpFile,
             QString::number(e.HelpContext), QString());
    if (record.Number == 0) // an error numbered 0 must still count as one
        record.Number = ErrNo::Unknown;
    return record;
}
