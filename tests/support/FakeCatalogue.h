#pragma once

// The catalogue as the player window sees it: it counts what it is told.
#include "CatalogueLink.h"

class FakeCatalogue : public CatalogueLink {
  public:
    void showAgain() override { ++shown; }
    void unload() override { ++unloaded; }
    int shown = 0;
    int unloaded = 0;
};
