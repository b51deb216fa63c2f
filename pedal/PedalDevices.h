#pragma once

#include "InputDevices.h"
#include "PedalMakes.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AppLog;

// The program's input objects: dxRoot and diRoot stand for the input system and its device list,
// diPedal for the open pedal (none when none was found). No call raises: failures are logged.
class PedalDevices {
  public:
    // Failures go to `log`. Monotonic milliseconds: the steady clock unless a test gives a clock of its own.
    explicit PedalDevices(AppLog& log, std::function<qint64()> clockMs = {});
    PedalDevices(const PedalDevices&) = delete;
    PedalDevices& operator=(const PedalDevices&) = delete;

    // Start-up: creates dxRoot and diRoot with every error ignored (either may stay empty).
    // The factory makes the input system (the evdev backend in the product, a fake in tests).
    void createInputRoots(const std::function<std::shared_ptr<InputSystem>()>& factory);

    // Looks for the first attached device that is one of the pedal makes (the VEC rule: its upper-cased
    // name holds "FOOTPEDAL") and opens it as diPedal. A failure is logged and leaves no pedal, so
    // start-up goes on without one.
    void GetInputDevices();

    // The pressed state of buttons 0, 1, 2 as "0"/"1" text ("000" without a pedal or after a failed
    // read). A pedal that fails to read is dropped and logged once; later calls look for it again by
    // the same rule, at most once a second, and carry on with it.
    QString GetInputDeviceData();

    // Catalogue unload: gives the pedal back and drops diPedal, diRoot, dxRoot in that order.
    void releaseInputObjects();

    // Whether the player window polls: a pedal is open, or one was pulled out and is looked for again.
    bool hasPedal() const { return m_diPedal != nullptr || m_pedalLost; }
    // The open pedal; null when none is open.
    const InputDevice* diPedal() const { return m_diPedal.get(); }

  private:
    qint64 nowMs() const;
    void searchAgain();
    void markLost();

    AppLog& m_log;
    std::function<qint64()> m_clockMs;
    std::shared_ptr<InputSystem> m_dxRoot;
    std::shared_ptr<InputSystem> m_diRoot;
    std::unique_ptr<InputDevice> m_diPedal;
    // A pedal was open and a read of it failed; the poll looks for one again, at most once a second.
    bool m_pedalLost = false;
    // The current loss is in the log already; a good read clears it, so each loss is logged once.
    bool m_lossLogged = false;
    // When the poll last looked for a lost pedal.
    std::optional<qint64> m_lastSearchMs;
};

// Opens the first attached device that is a pedal make, with that make's button layout; null when none
// is. No other device is opened. Raises when listing or opening fails.
std::unique_ptr<InputDevice> openFirstPedal(InputSystem& system);

// Three characters, "1" for a pressed button: button 0 first. Missing buttons count as released,
// any beyond the third are ignored.
QString buttonText(const std::vector<bool>& pressed);
