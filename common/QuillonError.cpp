#include "QuillonError.h"

QuillonError::QuillonError(int number, QString description, QString source, int line, QString helpFile,
                           int helpContext)
    : Number(number), Description(std::move(description)), Source(std::move(source)),
      HelpFile(std::move(helpFile)), HelpContext(helpContext), Line(line),
      m_what((QString::number(number) + QStringLiteral(": ") + Description).toStdString()) {}

void raiseError(int number, const QString& description, int line) {
    throw QuillonError(number, description, QStringLiteral("Quillon502"), line);
}

void raiseObjectNotSet(int line) {
    raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"), line);
}
