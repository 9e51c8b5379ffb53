#include "calc/Dashboard.h"

#include "calc/Angelzeit.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"
#include "store/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// The recent list shows the header, the rule line and 20 catches.
constexpr qsizetype kRecentRows = 22;

// The value a float holds, in its shortest decimal form, as a double: the
// two-decimal rounding then works on the digits the float stands for
// (4,875 stays 4,875 rather than becoming 4,8749999...).
double singleValue(float f)
{
    if (!std::isfinite(f))
        throw RuntimeError { Err::Overflow };
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, f);
    double d = 0;
    std::from_chars(buf, res.ptr, d);
    return d;
}

} // namespace

QString WeightText(float kg)
{
    return TwoDecimals(singleValue(kg)) + QStringLiteral(" kg");
}

QString DepthText(float metres)
{
    return TwoDecimals(singleValue(metres)) + QStringLiteral(" m");
}

QString LengthText(qint16 cm)
{
    return QString::number(cm) + QStringLiteral(" cm");
}

QString TemperatureText(qint16 c)
{
    const QString number = QString::number(c) + QStringLiteral(" \u00B0C");
    return c > 0 ? QStringLiteral("+ ") + number : number;
}

QString FishingTimeText(qint32 minutes)
{
    // Truncation toward zero throughout, so a negative total keeps its sign
    // in every part that is not zero.
    qint32 h = minutes / 60;
    const qint32 d = h / 24;
    const qint32 m = minutes - 60 * h;
    h -= 24 * d;
    return QStringLiteral("Angelzeit: %1 T  %2 Std  %3 Min").arg(d).arg(h).arg(m);
}

QString TimePerFishText(qint32 minutes, int catches)
{
    if (catches <= 0)
        throw RuntimeError { Err::InvalidArgument };
    const double avg = std::nearbyint(double(minutes) / catches);
    const qint32 a = qint32(avg);
    const qint32 h = a / 60;
    const qint32 m = a - 60 * h;
    return QStringLiteral("%1 Std %2 Min").arg(h).arg(m);
}

int CountPhotos(const QString& bilderHostDir)
{
    const QStringList files = FileOps::listFiles(bilderHostDir);
    int count = int(files.size());
    // The marker file keeps the folder in place; it is no photo.
    for (const QString& name : files) {
        if (name.compare(u"DUMMY.txt", Qt::CaseInsensitive) == 0) {
            --count;
            break;
        }
    }
    return count;
}

DashboardTexts MakeDashboardTexts(const Env& env, const QStringList& overviewRows,
    const QString& costTotalText, const CatchStatistics& stats, int photoCount,
    std::optional<qint32> fishingMinutes)
{
    ErrorTrap trap(env, QStringLiteral("Sub \u00C4nderung"));
    DashboardTexts t;

    t.cmdKostenÜbersicht = QStringLiteral("Angelkosten: ") + costTotalText;

    // A list that lost its header lines holds no catches.
    const qsizetype catches = std::max<qsizetype>(0, overviewRows.size() - 2);
    t.cmdFangÜbersicht = QStringLiteral("Gefangene Fische: ") + QString::number(catches);

    if (catches > 0) {
        const qint32 minutes = fishingMinutes ? *fishingMinutes : Angelzeit(env, overviewRows);
        t.cmdZeit = FishingTimeText(minutes);
        trap.step([&] { t.labZeitProFisch = TimePerFishText(minutes, int(catches)); });
    } else {
        t.cmdZeit = QStringLiteral("Angelzeit: 0 T  0 Std  0 Min");
        t.labZeitProFisch = QStringLiteral("0 min");
    }

    t.lstFänge = overviewRows.mid(0, kRecentRows);

    if (catches > 0) {
        const auto set = [&trap](QString& label, auto make) { trap.step([&] { label = make(); }); };
        set(t.labSchwersterFisch, [&] { return WeightText(stats.heaviest); });
        set(t.labLängsterFisch, [&] { return LengthText(stats.longest); });
        set(t.labKleinsterFisch, [&] { return LengthText(stats.shortest); });
        set(t.labLeichtesterFisch, [&] { return WeightText(stats.lightest); });
        set(t.labDurchschnittsGewicht,
            [&] { return WeightText(stats.totalWeight / float(catches)); });
        set(t.labGesamtGewicht, [&] { return WeightText(stats.totalWeight); });
        set(t.labMaxAngeltiefe, [&] { return DepthText(stats.maxDepth); });
        set(t.labMinAngeltiefe, [&] { return DepthText(stats.minDepth); });
        set(t.labMaxTempLuft, [&] { return TemperatureText(stats.maxAirTemp); });
        set(t.labMinTempLuft, [&] { return TemperatureText(stats.minAirTemp); });
        set(t.labMaxTempWasser, [&] { return TemperatureText(stats.maxWaterTemp); });
        set(t.labMinTempWasser, [&] { return TemperatureText(stats.minWaterTemp); });
        set(t.labAngelTiefe, [&] { return DepthText(stats.averageDepth); });
    } else {
        const QString kg = QStringLiteral("0,00 kg");
        const QString cm = QStringLiteral("0 cm");
        const QString none = QStringLiteral("-");
        const QString m = QStringLiteral("0 m");
        t.labSchwersterFisch = t.labLeichtesterFisch = t.labDurchschnittsGewicht
            = t.labGesamtGewicht = kg;
        t.labLängsterFisch = t.labKleinsterFisch = cm;
        t.labMaxTempLuft = t.labMinTempLuft = t.labMaxTempWasser = t.labMinTempWasser = none;
        t.labAngelTiefe = t.labMaxAngeltiefe = t.labMinAngeltiefe = m;
    }

    t.cmdPics = QStringLiteral("Anzahl der Bilder: ") + QString::number(photoCount);
    return t;
}
