#pragma once

#include "calc/Statistics.h"
#include "platform/Env.h"

#include <QString>
#include <QStringList>

#include <optional>

// Every text of the main window that a refresh recomputes. A text left null
// could not be computed (the failure is logged under "Sub Änderung"); the
// window then keeps what it showed before.
struct DashboardTexts {
    QString cmdZeit;
    QString cmdFangÜbersicht;
    QString cmdKostenÜbersicht;
    QString cmdPics;
    QString labZeitProFisch;

    QString labSchwersterFisch;
    QString labLängsterFisch;
    QString labKleinsterFisch;
    QString labLeichtesterFisch;
    QString labDurchschnittsGewicht;
    QString labGesamtGewicht;
    QString labMaxAngeltiefe;
    QString labMinAngeltiefe;
    QString labMaxTempLuft;
    QString labMinTempLuft;
    QString labMaxTempWasser;
    QString labMinTempWasser;
    QString labAngelTiefe;

    // Rows for the main window's recent-catches list: the overview's header,
    // its rule line and up to 20 catches, in the overview's order.
    QStringList lstFänge;
};

// The texts from the overview list rows (header, rule line, catches), the
// cost window's total box text, the statistics of the last pass and the
// number of photos. The fishing time is computed from the rows unless the
// caller gives the total Angelzeit computed for the same rows.
DashboardTexts MakeDashboardTexts(const Env& env, const QStringList& overviewRows,
    const QString& costTotalText, const CatchStatistics& stats, int photoCount,
    std::optional<qint32> fishingMinutes = std::nullopt);

// Display forms of the statistics frame. They throw RuntimeError 6 for a
// value that is not finite.
QString WeightText(float kg); // "7,50 kg"
QString DepthText(float metres); // "2,50 m"
QString LengthText(qint16 cm); // "64 cm"
QString TemperatureText(qint16 c); // "+ 18 °C", "0 °C", "-3 °C"
// "Angelzeit: d T  h Std  m Min" for a total in minutes.
QString FishingTimeText(qint32 minutes);
// "h Std m Min" for the total divided by the number of catches, to the
// nearest minute with halves to the even neighbour. catches must be > 0.
QString TimePerFishText(qint32 minutes, int catches);

// Number of photos in the photo folder at bilderHostDir: its regular,
// non-hidden files without the marker file "DUMMY.txt". Throws
// RuntimeError 76 when the folder is missing.
int CountPhotos(const QString& bilderHostDir);
