#include "BenchData.h"

#include "app/Settings.h"
#include "calc/MondPhase.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "store/CostLine.h"
#include "store/Numbers.h"
#include "store/RecordFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace Qt::StringLiterals;

QDateTime benchNow()
{
    return QDateTime(QDate(2024, 10, 12), QTime(18, 30));
}

namespace {

constexpr int kYearsOfUse = 28;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

class Dice {
public:
    explicit Dice(unsigned seed)
        : m_rng(seed)
    {
    }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    double real(double lo, double hi)
    {
        return std::uniform_real_distribution<double>(lo, hi)(m_rng);
    }
    double normal(double mean, double sd)
    {
        return std::normal_distribution<double>(mean, sd)(m_rng);
    }
    bool chance(double p) { return real(0, 1) < p; }
    const QString& pick(const QStringList& list)
    {
        return list.at(between(0, int(list.size()) - 1));
    }
    // Index drawn with the given relative weights.
    int weighted(const QList<double>& weights)
    {
        return std::discrete_distribution<int>(weights.begin(), weights.end())(m_rng);
    }

private:
    std::mt19937 m_rng;
};

// A number as a user types it: decimal comma, no trailing zeros.
QString typed(double value, int decimals)
{
    QString s = QString::number(value, 'f', decimals);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    s.replace(u'.', u',');
    return s == u"-0" ? u"0"_s : s;
}

QString hhmm(int minutes)
{
    return u"%1:%2"_s.arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

// As the entry window stores a temperature: "+ " before a value whose
// nearest whole number is above zero.
QString storedTemperature(const QString& text)
{
    return ParseInt16(text) > 0 ? u"+ "_s + text : text;
}

// A value the user left out: the entry window puts a blank into the box.
QString orBlank(Dice& dice, const QString& text, double blankChance)
{
    return dice.chance(blankChance) ? u" "_s : text;
}

struct Species {
    QString name;
    double share, minKg, maxKg;
    int minCm, maxCm;
};

const QList<Species> kSpecies = {
    { u"Rotauge"_s, 14, 0.05, 0.6, 12, 35 },
    { u"Rotfeder"_s, 5, 0.1, 0.8, 15, 35 },
    { u"Brassen"_s, 9, 0.5, 4.5, 30, 68 },
    { u"Barsch"_s, 11, 0.1, 1.8, 15, 45 },
    { u"Hecht"_s, 9, 1.0, 12.0, 50, 115 },
    { u"Zander"_s, 7, 0.8, 8.0, 40, 90 },
    { u"Karpfen"_s, 10, 2.0, 20.0, 40, 95 },
    { u"Spiegelkarpfen"_s, 4, 3.0, 22.0, 45, 98 },
    { u"Schleie"_s, 5, 0.5, 3.0, 30, 55 },
    { u"Aal"_s, 6, 0.3, 2.5, 45, 100 },
    { u"Wels"_s, 2, 3.0, 60.0, 70, 220 },
    { u"Bachforelle"_s, 4, 0.3, 2.5, 25, 55 },
    { u"Regenbogenforelle"_s, 5, 0.4, 4.0, 28, 65 },
    { u"Döbel"_s, 3, 0.3, 3.0, 25, 60 },
    { u"Barbe"_s, 2, 0.5, 5.0, 30, 75 },
    { u"Karausche"_s, 2, 0.2, 1.5, 15, 35 },
    { u"Äsche"_s, 1, 0.3, 1.5, 25, 50 },
    { u"Quappe"_s, 1, 0.3, 2.0, 30, 60 },
};

const QStringList kAnglers
    = { u"Max"_s, u"Jürgen Hoffmann"_s, u"Sören K."_s, u"Anna-Lena Brückner"_s, u"Opa Heinz"_s,
          u"Thomas"_s, u"Bernd Maaß"_s, u"Lukas"_s, u"Katrin Özdemir"_s, u"Jens"_s };
const QStringList kWaters = { u"Baggersee Kiesgrube Nord"_s, u"Rhein"_s, u"Main bei Offenbach"_s,
    u"Mühlteich"_s, u"Altrhein"_s, u"Vereinsgewässer Forellenteich"_s, u"Neckar"_s,
    u"Schlossweiher"_s, u"Dortmund-Ems-Kanal"_s };
const QStringList kSpots = { u"Steg 3"_s, u"Schilfkante Ostufer"_s, u"Buhne 12"_s, u"Einlauf"_s,
    u"Brückenpfeiler"_s, u"Seerosenfeld"_s, u"Platz 7 am Parkplatz"_s, u"unter der Trauerweide"_s,
    u"Hafeneinfahrt"_s };
const QStringList kRigs = { u"Festblei"_s, u"Pose 4 g"_s, u"Grundmontage"_s, u"Spinner Gr. 3"_s,
    u"Wobbler 9 cm"_s, u"Haarmontage, Festblei 90 g"_s, u"Laufpose"_s, u"Dropshot"_s,
    u"Feeder 30 g"_s, u"Gummifisch 12 cm am Jigkopf"_s };
const QStringList kBaits
    = { u"Boilie"_s, u"Tauwurm"_s, u"Maden"_s, u"Köderfisch (Rotauge)"_s, u"Mais"_s, u"Tigernuss"_s,
          u"Boilie Scopex 20 mm + Pop-Up"_s, u"Mistwurm"_s, u"Teig"_s, u"Frolic"_s };
const QStringList kWeather = { u"sonnig"_s, u"bewölkt"_s, u"leichter Regen"_s,
    u"windig, Südwest 4 Bft"_s, u"Nebel"_s, u"bedeckt, schwül"_s, u"Gewitter im Anzug"_s,
    u"klar, Bodenfrost"_s, u"heiter bis wolkig"_s };
const QStringList kNotePhrases = { u"Biss kurz nach dem Wetterumschwung"_s,
    u"Drill etwa zehn Minuten, mit dem Kescher gelandet"_s, u"schonend zurückgesetzt"_s,
    u"Futterplatz am Vortag mit 2 kg Mais angelegt"_s, u"Luftdruck fallend, Wind drehte auf West"_s,
    u"Wasser nach dem Regen leicht trüb"_s, u"mehrere Fehlbisse vorher"_s,
    u"Biss auf der linken Rute, Bissanzeiger lief voll durch"_s,
    u"Haken saß sicher im Maulwinkel"_s, u"Foto von Jürgen gemacht"_s,
    u"alte Narbe an der Flanke"_s, u"viele Kleinfische am Platz"_s,
    u"Pegel ca. 20 cm über normal"_s, u"nächstes Mal näher an die Seerosen legen"_s };

// A remark typed after a value, up to about 200 characters in all.
QString withNote(Dice& dice, const QString& value)
{
    const int target = dice.between(60, 200);
    QString text = value.trimmed().isEmpty() ? QString() : value + u" – "_s;
    for (int i = 0; i < 12; ++i) {
        const QString& phrase = dice.pick(kNotePhrases);
        const QString next = text.isEmpty() || text.endsWith(u' ') ? phrase : u", "_s + phrase;
        if (text.size() + next.size() > target)
            break;
        text += next;
    }
    return text;
}

// A small real JPEG, written for every photo.
QByteArray photoBytes()
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(QColor(70, 110, 60));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG"))
        bytes = QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(4096, '\0') + "\xff\xd9";
    return bytes;
}

// The days on which `events` things happened, spread over the years of
// use in order, some entered a few weeks late; none after yesterday.
QList<QDate> eventDays(Dice& dice, int events, int lateChance)
{
    const QDate last = benchNow().date().addDays(-1);
    const QDate first = last.addYears(-kYearsOfUse);
    const qint64 span = first.daysTo(last);
    QList<QDate> days;
    days.reserve(events);
    for (int i = 0; i < events; ++i) {
        QDate d = first.addDays(span * i / qMax(1, events - 1));
        if (dice.between(0, 99) < lateChance)
            d = qMax(first, d.addDays(-dice.between(1, 45)));
        days.append(d);
    }
    return days;
}

// Temperatures over the year: coldest in mid January.
double seasonal(const QDate& d, double mean, double swing, int lagDays)
{
    return mean - swing * std::cos(2 * std::numbers::pi * (d.dayOfYear() - 15 - lagDays) / 365.25);
}

struct Catches {
    QByteArray bytes;
    QSet<QString> photoNames;
};

Catches makeCatches(const Env& env, Dice& dice, int count)
{
    QList<int> tripSizes;
    for (int n = 0; n < count;) {
        const int size = qMin(count - n, 1 + dice.weighted({ 30, 25, 18, 12, 9, 6 }));
        tripSizes.append(size);
        n += size;
    }
    const QList<QDate> days = eventDays(dice, int(tripSizes.size()), 3);
    QList<double> shares;
    for (const Species& s : kSpecies)
        shares.append(s.share);

    Catches out;
    out.bytes.reserve(qsizetype(count) * 150);
    for (qsizetype t = 0; t < tripSizes.size(); ++t) {
        const QDate day = days.at(t);
        const int begin = dice.chance(0.7) ? dice.between(16, 72) * 15 : dice.between(240, 1080);
        const int end = qMin(begin + dice.between(90, 600), 23 * 60 + 59);
        const QString angler = kAnglers.at(dice.weighted({ 40, 12, 10, 8, 8, 6, 6, 4, 3, 3 }));
        const QString buddy = dice.pick(kAnglers);
        const QString water = orBlank(dice, dice.pick(kWaters), 0.05);
        const QString spot = orBlank(dice, dice.pick(kSpots), 0.1);
        const QString weather = orBlank(dice, dice.pick(kWeather), 0.08);
        const double air = seasonal(day, 10, 11, 5) + dice.normal(0, 4);
        const QString airText = dice.chance(0.08)
            ? u"0"_s
            : typed(dice.chance(0.1) ? std::round(air * 2) / 2 : std::round(air), 1);
        const QString waterText = dice.chance(0.1)
            ? u"0"_s
            : typed(std::round(qMax(2.0, seasonal(day, 11, 9, 30) + dice.normal(0, 2))), 0);
        const QString moon = MondPhase(env, DayNumber(day));
        QList<int> times;
        for (int i = 0; i < tripSizes.at(t); ++i)
            times.append(dice.between(begin, end));
        std::sort(times.begin(), times.end());

        for (int caught : times) {
            const Species& s = kSpecies.at(dice.weighted(shares));
            const double size = std::pow(dice.real(0, 1), 2.0);
            const double kg = s.minKg + (s.maxKg - s.minKg) * size;
            const double cm = s.minCm + (s.maxCm - s.minCm) * std::sqrt(size);
            // Weighed to 10 g below a kilogram, to 50 g above; measured to the
            // centimetre, now and then to the half; both sometimes left out.
            const double step = kg < 1 ? 100 : 20;
            QString length = u"0"_s;
            if (!dice.chance(0.1))
                length = dice.chance(0.1) ? typed(std::round(cm * 2) / 2, 1)
                                          : QString::number(std::lround(cm));
            QString species = s.name;
            if (dice.chance(0.06)) {
                species += u'*';
                out.photoNames.insert(
                    DisplayDate(day) + u'_' + hhmm(caught).replace(u':', u'-') + u"-00.jpg"_s);
            }
            QStringList fields = {
                day.toString(u"yyyy/MM/dd"_s),
                dice.chance(0.3) ? buddy : angler,
                hhmm(begin),
                hhmm(caught),
                hhmm(end),
                species,
                TwoDecimals(std::round(kg * step) / step),
                length,
                water,
                spot,
                orBlank(dice, dice.pick(kRigs), 0.08),
                orBlank(dice, dice.pick(kBaits), 0.06),
                weather,
                storedTemperature(airText),
                storedTemperature(waterText),
                dice.chance(0.15) ? u"0"_s : typed(dice.between(1, 24) * 0.5, 1),
                moon,
            };
            if (dice.chance(0.04)) {
                const int field = 9 + dice.between(0, 3); // spot, rig, bait or weather
                fields[field] = withNote(dice, fields[field]);
            }
            out.bytes += RecordLine(fields.join(u'\t'));
        }
    }
    return out;
}

struct Article {
    QString name;
    int minCents, maxCents, maxQuantity;
    bool clubOnly;
};

const QList<Article> kArticles = {
    { u"Monofile Schnur 0,30 mm, 300 m"_s, 600, 1500, 2, false },
    { u"Geflochtene Schnur 0,12 mm, 150 m"_s, 1500, 3000, 1, false },
    { u"Karpfenhaken Gr. 6 (10 Stück)"_s, 300, 700, 3, false },
    { u"Boilies Scopex 20 mm, 1 kg"_s, 700, 1200, 5, false },
    { u"Maden 0,5 l"_s, 200, 350, 2, false },
    { u"Tauwürmer (Dose, 25 Stück)"_s, 300, 500, 3, false },
    { u"Futtermais 5 kg"_s, 400, 800, 2, false },
    { u"Wobbler 9 cm schwimmend"_s, 600, 1800, 3, false },
    { u"Gummifisch 12 cm (5 Stück)"_s, 500, 1000, 4, false },
    { u"Bleisortiment 20 bis 80 g"_s, 500, 1200, 1, false },
    { u"Knicklicht 4,5 mm (10 Stück)"_s, 200, 500, 2, false },
    { u"Vorfachmaterial Fluorocarbon 0,35 mm"_s, 600, 1200, 1, false },
    { u"Kescher 60 cm, gummierte Maschen"_s, 3000, 6000, 1, false },
    { u"Wathose Gr. 44"_s, 6000, 15000, 1, false },
    { u"Karpfenrute 3,60 m, 3 lbs"_s, 6000, 20000, 2, false },
    { u"Freilaufrolle 6000"_s, 4000, 12000, 1, false },
    { u"Tageskarte"_s, 800, 1500, 2, true },
    { u"Jahreskarte Vereinsgewässer"_s, 8000, 18000, 1, true },
};

const QStringList kShops
    = { u"Angelsport Köhler"_s, u"Angel-Center am Hafen"_s, u"Gerätehaus Müller & Söhne"_s,
          u"Köderladen Jürgen"_s, u"Versandhandel (online)"_s, u"Baumarkt"_s };
const QString kClub = u"Fischereiverein Petri Heil e.V."_s;

// A price as typed: "12", "12,5" or "12,99".
QString typedPrice(Dice& dice, int minCents, int maxCents)
{
    const int euros = dice.between(minCents, maxCents) / 100;
    const int cents = QList<int> { 0, 0, 50, 49, 95, 99, 99 }.at(dice.between(0, 6));
    return typed(euros + cents / 100.0, 2);
}

QByteArray makePurchases(const Env& env, Dice& dice, int count)
{
    const QList<QDate> days = eventDays(dice, count, 3);
    QByteArray bytes;
    bytes.reserve(qsizetype(count) * 110);
    for (int i = 0; i < count; ++i) {
        const Article& a = kArticles.at(dice.between(0, int(kArticles.size()) - 1));
        const QString shop = a.clubOnly ? kClub : dice.pick(kShops);
        const bool online = shop.startsWith(u"Versand");
        QString quantity = u"1"_s;
        if (a.maxQuantity > 1 && dice.chance(0.45))
            quantity = QString::number(dice.between(2, a.maxQuantity));
        else if (dice.chance(0.02))
            quantity = u"1,5"_s;
        const CostEntry entry { DisplayDate(days.at(i)), shop, quantity, a.name,
            typedPrice(dice, a.minCents, a.maxCents),
            online ? QStringList { u"4,95"_s, u"5,9"_s, u"0"_s }.at(dice.between(0, 2)) : u"0"_s };
        bytes += RecordLine(CostItem(env, entry));
    }
    return bytes;
}

// A settings file as a program that has run before leaves it: window sizes
// set and the first-start flag cleared, so the start asks nothing.
QByteArray settingsBytes()
{
    SettingsRecord s;
    s.OverviewHeight = 8400;
    s.OverviewWidth = 16500;
    s.MainHeight = 9600;
    s.MainWidth = 13500;
    s.MainWindowState = 0;
    return SettingsFileBytes(s, 0);
}

} // namespace

FolderContents fillProgramFolder(const QString& programDir, int count)
{
    QDir root(programDir);
    for (const QString& d : { u"db/Fänge"_s, u"db/Kosten"_s, u"db/Bilder"_s })
        root.mkpath(d);
    writeFile(root.filePath(u"db/db.ver"_s), "102\r\n");
    writeFile(root.filePath(u"db/Bilder/DUMMY.txt"_s),
        encode1252(u"Please don't delete this File!\r\nBitte diese Datei nicht löschen!\r\n"_s));
    writeFile(root.filePath(u"settings.ini"_s), settingsBytes());

    FixedClock clock(benchNow());
    const Env env { programDir, &clock, nullptr, nullptr };
    Dice dice(20040517);
    const Catches catches = makeCatches(env, dice, count);
    writeFile(root.filePath(u"db/Fänge/db"_s), catches.bytes);
    const QByteArray photo = photoBytes();
    for (const QString& name : catches.photoNames)
        writeFile(root.filePath(u"db/Bilder/"_s + name), photo);
    writeFile(root.filePath(u"db/Kosten/db"_s), makePurchases(env, dice, count));
    return { count, count, int(catches.photoNames.size()) };
}
