#pragma once

#include <QString>

// What the player window needs of the catalogue window, and nothing more.
class CatalogueLink {
public:
    virtual ~CatalogueLink() = default;
    // Texts of the selected catalogue row; each raises "object not set" (91) when no row is selected.
    virtual QString selectedLocation() const = 0;
    virtual QString selectedDate() const = 0;
    virtual QString selectedStartTime() const = 0;
    virtual int rowCount() const = 0;
    virtual void showAgain() = 0;
    virtual void unload() = 0;
};
