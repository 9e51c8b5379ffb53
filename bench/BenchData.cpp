#include "BenchData.h"

#include "platform/Cp1252.h"
#include "store/Numbers.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <random>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

template <class T> const T& pick(std::mt19937& rng, const QList<T>& list)
{
    return list.at(std::uniform_int_distribution<qsizetype>(0, list.size() - 1)(rng));
}

QString hhmm(int minutes)
{
    return u"%1:%2"_s.arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

QString temperature(int t)
{
    return t > 0 ? u"+ "_s + QString::number(t) : QString::number(t);
}

} // namespace

int fillProgramFolder(const QString& programDir, int count)
{
    QDir root(programDir);
    for (const QString& d : { u"db"_s, u"db/Fänge"_s, u"db/Kosten"_s, u"db/Bilder"_s })
        root.mkpath(d);
    writeFile(root.filePath(u"db/db.ver"_s), "102\r\n");
    writeFile(root.filePath(u"db/Bilder/DUMMY.txt"_s),
        encode1252(u"Please don't delete this File!\r\nBitte diese Datei nicht löschen!\r\n"_s));

    std::mt19937 rng(20040517);
    const QStringList anglers
        = { u"Max"_s, u"Anna"_s, u"Bert"_s, u"Jürgen"_s, u"Sören"_s, u"Lena"_s };
    const QStringList species = { u"Hecht"_s, u"Karpfen"_s, u"Zander"_s, u"Barsch"_s, u"Aal"_s,
        u"Schleie"_s, u"Brassen"_s, u"Forelle"_s, u"Rotauge"_s, u"Wels"_s };
    const QStringList waters = { u"Baggersee"_s, u"Rhein"_s, u"Mühlteich"_s, u"Kanal"_s, u" "_s };
    const QStringList spots
        = { u"Steg 3"_s, u"Schilfkante"_s, u"Buhne 12"_s, u"Einlauf"_s, u" "_s };
    const QStringList rigs = { u"Festblei"_s, u"Pose"_s, u"Grundmontage"_s, u"Spinner"_s };
    const QStringList baits = { u"Boilie"_s, u"Wurm"_s, u"Made"_s, u"Köderfisch"_s, u"Mais"_s };
    const QStringList weather = { u"sonnig"_s, u"bewölkt"_s, u"Regen"_s, u"windig"_s, u"Nebel"_s };
    const QStringList moons
        = { u"Neumond"_s, u"zunehmender Mond"_s, u"erstes Viertel"_s, u"zunehmend"_s, u"Vollmond"_s,
              u"abnehmend"_s, u"letztes Viertel"_s, u"abnehmender Mond"_s };
    const QStringList shops = { u"Angelcenter Nord"_s, u"Köderwerk"_s, u"Gerätehaus Ufer"_s };
    const QStringList articles = { u"Haken Gr. 8"_s, u"Schnur 0,30 mm"_s, u"Boilies 1 kg"_s,
        u"Posen-Set"_s, u"Tageskarte"_s };

    std::uniform_int_distribution<int> percent(0, 99);
    QDate day(1995, 3, 1);
    QByteArray catches;
    catches.reserve(count * 120);
    int photos = 0;
    for (int i = 0; i < count; ++i) {
        if (percent(rng) < 40)
            day = day.addDays(1);
        // Now and then a catch is entered weeks after it was made.
        const QDate date
            = percent(rng) < 5 ? day.addDays(-std::uniform_int_distribution<int>(1, 60)(rng)) : day;
        const int begin = std::uniform_int_distribution<int>(4 * 60, 16 * 60)(rng);
        const int caught = begin + std::uniform_int_distribution<int>(0, 240)(rng);
        const int end = caught + std::uniform_int_distribution<int>(0, 180)(rng);
        QString fish = pick(rng, species);
        const bool photo = percent(rng) < 4;
        if (photo) {
            fish += u'*';
            const QString name = date.toString(u"dd.MM.yyyy"_s) + u'_'
                + hhmm(caught).replace(u':', u'-') + u"-00.jpg"_s;
            writeFile(root.filePath(u"db/Bilder/"_s + name), QByteArray(2048, '\xff'));
            ++photos;
        }
        const QStringList fields = {
            date.toString(u"yyyy/MM/dd"_s),
            pick(rng, anglers),
            hhmm(begin),
            hhmm(caught),
            hhmm(qMin(end, 23 * 60 + 59)),
            fish,
            TwoDecimals(std::uniform_int_distribution<int>(10, 2000)(rng) / 100.0),
            QString::number(std::uniform_int_distribution<int>(10, 120)(rng)),
            pick(rng, waters),
            pick(rng, spots),
            pick(rng, rigs),
            pick(rng, baits),
            pick(rng, weather),
            temperature(std::uniform_int_distribution<int>(-5, 32)(rng)),
            temperature(std::uniform_int_distribution<int>(1, 26)(rng)),
            TwoDecimals(std::uniform_int_distribution<int>(0, 80)(rng) / 10.0),
            pick(rng, moons),
        };
        catches += encode1252(u'"' + fields.join(u'\t') + u'"') + "\r\n";
    }
    writeFile(root.filePath(u"db/Fänge/db"_s), catches);

    QByteArray costs;
    costs.reserve(count * 80);
    QDate costDay(1995, 3, 1);
    for (int i = 0; i < count; ++i) {
        if (percent(rng) < 40)
            costDay = costDay.addDays(1);
        const int quantity = std::uniform_int_distribution<int>(1, 5)(rng);
        const double price = std::uniform_int_distribution<int>(50, 5000)(rng) / 100.0;
        const double shipping = percent(rng) < 20 ? 4.90 : 0.0;
        const QStringList fields = {
            costDay.toString(u"yyyy/MM/dd"_s),
            pick(rng, shops),
            QString::number(quantity),
            pick(rng, articles),
            AmountForm(price),
            AmountForm(price * quantity),
            AmountForm(shipping),
            AmountForm(price * quantity + shipping),
        };
        costs += encode1252(u'"' + fields.join(u'\t') + u'"') + "\r\n";
    }
    writeFile(root.filePath(u"db/Kosten/db"_s), costs);
    return photos;
}
