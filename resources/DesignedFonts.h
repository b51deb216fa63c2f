#pragma once

// The windows' fonts (Liberation Sans and Mono) are compiled into the program: registered at start,
// a desktop without them still draws every text at its designed width.
namespace DesignedFonts {
// Registers the carried fonts with the application; call once a QGuiApplication exists.
// Returns false if one of them could not be registered.
bool registerAll();
} // namespace DesignedFonts
