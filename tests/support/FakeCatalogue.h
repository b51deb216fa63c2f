#pragma once

// The catalogue as the player window sees it, scripted by the test.
#include "CatalogueLink.h"
#include "QuillonError.h"

class FakeCatalogue : public CatalogueLink {
public:
    QString selectedLocation() const override { return cell(location); }
    QString selectedDate() const override { return cell(date); }
    QString selectedStartTime() const override { return cell(startTime); }
    int rowCount() const override { return rows; }
    void showAgain() override { ++shown; }
    void unload() override { ++unloaded; }

    bool hasSelection = true;
    QString location = QStringLiteral("Room3");
    QString date = QStringLiteral("12-14-2009");
    QString startTime = QStringLiteral("09:30:00 AM");
    int rows = 2;
    int shown = 0;
    int unloaded = 0;

private:
    QString cell(const QString& text) const {
        if (!hasSelection)
            raiseError(ErrNo::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        return text;
    }
};
