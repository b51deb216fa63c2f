#include "PedalDevices.h"

#include "ErrorHandling.h"

#include <chrono>

namespace {
const QString kNoButtons = QStringLiteral("000");
constexpr qint64 kSearchIntervalMs = 1000;
} // namespace

PedalDevices::PedalDevices(AppLog& log, std::function<qint64()> clockMs)
    : m_log(log), m_clockMs(std::move(clockMs)) {}

qint64 PedalDevices::nowMs() const {
    if (m_clockMs)
        return m_clockMs();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A lost pedal is looked for again quietly: it may still be settling (permissions come a moment
// after the device node), and the loss itself is in the log already.
void PedalDevices::searchAgain() {
    const qint64 now = nowMs();
    if (m_lastSearchMs && now - *m_lastSearchMs < kSearchIntervalMs)
        return;
    m_lastSearchMs = now;
    if (!m_diRoot)
        return;
    skipErrors([&] { m_diPedal = openFirstPedal(*m_diRoot); });
}

void PedalDevices::markLost() {
    skipErrors([&] { m_diPedal.reset(); });
    m_pedalLost = true;
    m_lossLogged = true;
    if (!m_lastSearchMs || nowMs() - *m_lastSearchMs >= kSearchIntervalMs)
        m_lastSearchMs = nowMs();
}

void PedalDevices::createInputRoots(const std::function<std::shared_ptr<InputSystem>()>& factory) {
    skipErrors([&] { m_dxRoot = factory ? factory() : nullptr; });
    skipErrors([&] { m_diRoot = m_dxRoot; });
}

std::unique_ptr<InputDevice> openFirstPedal(InputSystem& system) {
    for (InputDeviceInfo& device : system.devices()) {
        if (const PedalMake* make = findPedalMake(device)) {
            device.layout = make->layout;
            return system.open(device);
        }
    }
    return nullptr;
}

QString buttonText(const std::vector<bool>& pressed) {
    QString text = kNoButtons;
    for (std::size_t i = 0; i < 3 && i < pressed.size(); ++i)
        text[qsizetype(i)] = pressed[i] ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

void PedalDevices::GetInputDevices() {
    m_pedalLost = false;
    m_lossLogged = false;
    m_lastSearchMs.reset();
    const bool found =
        logAndCarryOn(m_log, SourceModule::basGlobals + QStringLiteral(".GetInputDevices()"), [&] {
            if (m_diRoot)
                m_diPedal = openFirstPedal(*m_diRoot);
        });
    if (!found)
        skipErrors([&] { m_diPedal.reset(); });
}

QString PedalDevices::GetInputDeviceData() {
    QString text = kNoButtons;
    auto read = [&] {
        if (!m_diPedal && m_pedalLost)
            searchAgain();
        if (!m_diPedal)
            return;
        text = buttonText(m_diPedal->buttons());
        m_pedalLost = false;
        m_lossLogged = false;
    };
    const bool good =
        m_lossLogged
            ? skipErrors(read)
            : logAndCarryOn(m_log, SourceModule::basGlobals + QStringLiteral(".GetInputDeviceData()"), read);
    if (!good) {
        text = kNoButtons;
        markLost();
    }
    return text;
}

void PedalDevices::releaseInputObjects() {
    skipErrors([&] { m_diPedal.reset(); });
    m_pedalLost = false;
    m_lossLogged = false;
    m_lastSearchMs.reset();
    skipErrors([&] { m_diRoot.reset(); });
    skipErrors([&] { m_dxRoot.reset(); });
}
