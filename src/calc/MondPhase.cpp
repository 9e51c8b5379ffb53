#include "calc/MondPhase.h"

#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr double kSynodicMonth = 29.530589; // mean length of a lunation in days
constexpr double kPhaseOffset = 0.9291176; // position in the cycle on day 0
constexpr int kSectors = 8;
constexpr int kIndexOffset = 2;

// Phase index 2..10; the cycle wraps, so index 10 is new moon again.
const QStringList& phaseNames()
{
    static const QStringList names = { QStringLiteral("Neumond"), QStringLiteral("1/4 Mond, zu."),
        QStringLiteral("Halbmond, zu."), QStringLiteral("3/4 Mond, zu."),
        QStringLiteral("Vollmond"), QStringLiteral("3/4 Mond, ab."),
        QStringLiteral("Halbmond, ab."), QStringLiteral("1/4 Mond ab."),
        QStringLiteral("Neumond") };
    return names;
}

} // namespace

QString MondPhase(const Env& env, double dayNumber)
{
    ErrorTrap trap(env, QStringLiteral("Funktion MondPhase"));
    QString result;
    trap.step([&] {
        // Infinite or undefined day numbers have no place in the cycle.
        if (!std::isfinite(dayNumber))
            throw RuntimeError { Err::Overflow };
        const double x = dayNumber / kSynodicMonth + kPhaseOffset;
        const double f = x - std::floor(x);
        const int k = static_cast<int>(std::floor(kSectors * f + 0.5)) + kIndexOffset;
        const QStringList& names = phaseNames();
        if (k < kIndexOffset || k - kIndexOffset >= names.size())
            throw RuntimeError { Err::IndexOutOfRange };
        result = names[k - kIndexOffset];
    });
    return result;
}
