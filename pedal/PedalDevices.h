#pragma once

#include "InputDevices.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLineEdit;

// The program-wide input objects: dxRoot and diRoot stand for the input system and its device list,
// diPedal for the open pedal (empty when none was found).
class PedalDevices {
  public:
    std::shared_ptr<InputSystem> dxRoot;
    std::shared_ptr<InputSystem> diRoot;
    std::unique_ptr<InputDevice> diPedal;

    // Whether the player window polls: a pedal is open, or one was pulled out and is looked for again.
    bool hasPedal() const { return diPedal != nullptr || pedalLost; }

    // A pedal was open and a read of it failed; the poll looks for one again, at most once a second.
    bool pedalLost = false;
    // The current loss is in the log already; a good read clears it, so each loss is logged once.
    bool lossLogged = false;
    // When the poll last looked for a lost pedal (monotonic milliseconds).
    std::optional<qint64> lastSearchMs;
    // Monotonic milliseconds; empty means the steady clock. Tests put a clock of their own here.
    std::function<qint64()> clockMs;
};

// The one set of input objects of the running program.
PedalDevices& pedalDevices();

// Start-up: creates dxRoot and diRoot with every error ignored (either may stay empty).
// The factory makes the input system (the evdev backend in the product, a fake in tests).
void createInputRoots(PedalDevices& devices, const std::function<std::shared_ptr<InputSystem>()>& factory);

// Looks for the first attached device whose upper-cased name holds "FOOTPEDAL" and opens it as diPedal.
// A failure is logged and leaves no pedal; it is never raised, so start-up goes on without a pedal.
void GetInputDevices(PedalDevices& devices);

// The pressed state of buttons 0, 1, 2 as "0"/"1" text ("000" without a pedal or after a failed read);
// shown in display when given. Never raises. A pedal that fails to read is dropped and logged once;
// later calls look for it again by the same rule, at most once a second, and carry on with it.
QString GetInputDeviceData(PedalDevices& devices, QLineEdit* display);

// Catalogue unload: gives the pedal back and drops diPedal, diRoot, dxRoot in that order.
void releaseInputObjects(PedalDevices& devices);

// The device match: the upper-cased product name holds "FOOTPEDAL".
bool isFootPedalName(const QString& productName);

// Opens the first attached device that matches; null when none does. Raises when listing or opening fails.
std::unique_ptr<InputDevice> openFirstPedal(InputSystem& system);

// Three characters, "1" for a pressed button: button 0 first. Missing buttons count as released,
// any beyond the third are ignored.
QString buttonText(const std::vector<bool>& pressed);
