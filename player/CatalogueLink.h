#pragma once

// What the player window tells the catalogue window when it closes, and nothing more.
class CatalogueLink {
  public:
    virtual ~CatalogueLink() = default;
    virtual void showAgain() = 0;
    // Ends the program: the disc's one session was played.
    virtual void unload() = 0;
};
