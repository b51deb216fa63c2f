#pragma once

#include "QuillonError.h"

class AppLog;

#include <QString>
#include <new>
#include <type_traits>

// Module paths that procedures put in front of their own name.
namespace SourceModule {
inline const QString frmMain = QStringLiteral("Quillon502.frmMain");
inline const QString frmSessions = QStringLiteral("Quillon502.frmSessions");
inline const QString basGlobals = QStringLiteral("Quillon502.basGlobals");
} // namespace SourceModule

// The per-call record of the error path.
struct ErrorRecord {
    qint32 Number = 0;
    QString LineNo;
    QString Description;
    QString Source;
    QString HelpFile;
    qint32 HelpContext = 0;
    QString ProcName;
    QString AddlInfo;
};

void LogError(AppLog& log, ErrorRecord& record, const QString& procName, qint32 number, qint32 line,
              const QString& description, const QString& source, const QString& helpFile,
              const QString& helpContextText, const QString& addlInfo);
QString BuildErrorChain(const QString& description, const QString& procName, const QString& lineNo,
                        const QString& addlInfo);
void RaiseRecordedError(const ErrorRecord& record);

// Turns whatever was thrown into our error type (bad_alloc is 7, other C++ exceptions 1000).
QuillonError currentError();

// Logs the current error under procName into a fresh record and returns that record.
ErrorRecord logCurrentError(AppLog& log, const QString& procName);

// The trap of one procedure, armed once with its source name.
// logAndRaise: log, then raise again with the chained description.
template <typename F> auto logAndRaise(AppLog& log, const QString& procName, F&& body) -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        RaiseRecordedError(logCurrentError(log, procName));
    }
    throw QuillonError(ErrNo::InvalidCall, procName); // not reached: the record always holds an error
}

// logAndCarryOn: log and go on; returns false when the body failed.
template <typename F> bool logAndCarryOn(AppLog& log, const QString& procName, F&& body) {
    try {
        body();
        return true;
    } catch (...) {
        logCurrentError(log, procName);
        return false;
    }
}

// skipErrors: any error is dropped without a trace; returns false when the body failed.
template <typename F> bool skipErrors(F&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        return false;
    }
}
