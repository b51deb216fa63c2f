#pragma once

#include "AppLog.h"
#include "QtPrinting.h"

#include <QStringList>

// Keeps the log's lines, as written (escaped).
class CapturedLog : public AppLog {
  public:
    QStringList lines;

  protected:
    void writeEntry(const QString& entry) override { lines << entry; }
};
