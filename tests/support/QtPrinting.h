#pragma once

// Test failures show Qt texts as text, not as lists of bytes.
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '[' << texts.join(QStringLiteral("\", \"")).prepend('"').append('"').toStdString() << ']';
}
