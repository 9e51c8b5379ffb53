// Saving and cancelling in the catch entry window: the exact bytes of the
// stored line, every refusal, the photo copies, editing and the three
// answers of the cancel question, and a catch file that cannot be written.
#include "platform/Cp1252.h"
#include "ui/AddFishFixture.h"

#include <QFileInfo>

namespace {

const QString kSaved = QStringLiteral("Eintrag gespeichert!");

struct Catch {
    QString date = QStringLiteral("17.05.2004");
    QString angler = QStringLiteral("Max");
    QString begin = QStringLiteral("06:30");
    QString catchTime = QStringLiteral("06:45");
    QString end = QStringLiteral("10:00");
    QString species = QStringLiteral("Karpfen");
    QString weight = QStringLiteral("12,4");
    QString length = QStringLiteral("84");
    QString water = QStringLiteral("Baggersee");
    QString spot = QStringLiteral("Steg 3");
    QString rig = QStringLiteral("Festblei");
    QString bait = QStringLiteral("Boilie");
    QString weather = QStringLiteral("sonnig");
    QString air = QStringLiteral("18");
    QString waterTemp = QStringLiteral("14");
    QString depth = QStringLiteral("2,5");
    QString photo;
};

void fill(frmAddFish& w, const Catch& c)
{
    w.txtDate->setText(c.date);
    w.txtFänger->setText(c.angler);
    w.txtBeginn->setText(c.begin);
    w.txtFang->setText(c.catchTime);
    w.txtEnde->setText(c.end);
    w.txtFischArt->setText(c.species);
    w.txtGewicht->setText(c.weight);
    w.txtLänge->setText(c.length);
    w.txtGewässer->setText(c.water);
    w.txtStelle->setText(c.spot);
    w.txtMethode->setText(c.rig);
    w.txtKöder->setText(c.bait);
    w.txtWetter->setText(c.weather);
    w.txtTempLuft->setText(c.air);
    w.txtTempWasser->setText(c.waterTemp);
    w.txtAngeltiefe->setText(c.depth);
    w.txtBild->setText(c.photo);
}

QByteArray line(const QStringList& fields)
{
    return '"' + encode1252(fields.join(u'\t')) + "\"\r\n";
}

// The edit record the overview hands over: date in display form, no quotes.
QString editRecord(const QString& species, const QString& catchTime = QStringLiteral("06:45"))
{
    return QStringList { QStringLiteral("17.05.2004"), QStringLiteral("Max"),
        QStringLiteral("06:30"), catchTime, QStringLiteral("10:00"), species,
        QStringLiteral("12,40"), QStringLiteral("84"), QStringLiteral("Baggersee"),
        QStringLiteral("Steg 3"), QStringLiteral("Festblei"), QStringLiteral("Boilie"),
        QStringLiteral("sonnig"), QStringLiteral("+ 18"), QStringLiteral("+ 14"),
        QStringLiteral("2,5"), QStringLiteral("Vollmond") }
        .join(u'\t');
}

// The line that editRecord() gives when saved unchanged.
QByteArray editedLine(const QString& species, const QString& catchTime = QStringLiteral("06:45"))
{
    QStringList f = editRecord(species, catchTime).split(u'\t');
    f[0] = QStringLiteral("2004/05/17");
    f[16] = QStringLiteral("1/4 Mond ab.");
    return line(f);
}

} // namespace

class TestAddFishSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { f = std::make_unique<AddFishFixture>(); }
    void cleanup()
    {
        f->t.dialogs.verifyDone();
        f.reset();
    }

    void savedLine_data();
    void savedLine();
    void saveResetsWindow();
    void enterSaves();
    void refusals_data();
    void refusals();
    void refusedThenSavedMarksPhotoOnce();
    void photoCopiedUnderDateAndTime_data();
    void photoCopiedUnderDateAndTime();
    void photoThatCannotBeStored();
    void unwritableCatchFileKeepsEverything();
    void editMovesPhotoWithNewTime();
    void editKeepsUnchangedPhoto();
    void editWithPhotoTakenOff();
    void editWithPhotoReplaced();
    void editWithMissingPhotoDropsMark();
    void cancelNewCatch();
    void cancelEdit_data();
    void cancelEdit();
    void escapeCancels();

private:
    std::unique_ptr<AddFishFixture> f;
};

void TestAddFishSave::savedLine_data()
{
    QTest::addColumn<QStringList>("changes"); // field=value pairs applied to the default catch
    QTest::addColumn<QStringList>("stored"); // the 17 fields expected in the file

    const QStringList base
        = { "2004/05/17", "Max", "06:30", "06:45", "10:00", "Karpfen", "12,40", "84", "Baggersee",
              "Steg 3", "Festblei", "Boilie", "sonnig", "+ 18", "+ 14", "2,5", "1/4 Mond ab." };
    auto with = [&](std::initializer_list<std::pair<int, const char*>> fields) {
        QStringList s = base;
        for (const auto& [k, v] : fields)
            s[k - 1] = QString::fromUtf8(v);
        return s;
    };
    QTest::newRow("plain") << QStringList {} << base;
    QTest::newRow("weight rounded") << QStringList { "weight=2,456" } << with({ { 7, "2,46" } });
    QTest::newRow("weight 0 stored") << QStringList { "weight=0" } << with({ { 7, "0,00" } });
    QTest::newRow("weight two decimals up")
        << QStringList { "weight=4,875" } << with({ { 7, "4,88" } });
    QTest::newRow("no species") << QStringList { "species=" } << with({ { 6, " " } });
    QTest::newRow("temperatures zero and below")
        << QStringList { "air=0", "waterTemp=-3" } << with({ { 14, "0" }, { 15, "-3" } });
    QTest::newRow("temperature 0,4 stays") << QStringList { "air=0,4" } << with({ { 14, "0,4" } });
    QTest::newRow("temperature 0,5 to even")
        << QStringList { "air=0,5" } << with({ { 14, "0,5" } });
    QTest::newRow("temperature 1,5 prefixed")
        << QStringList { "air=1,5" } << with({ { 14, "+ 1,5" } });
    QTest::newRow("loaded plus not doubled")
        << QStringList { "air=+ 18" } << with({ { 14, "+ 18" } });
    QTest::newRow("temperature not a number")
        << QStringList { "air=1,,2" } << with({ { 14, "1,,2" } });
    QTest::newRow("umlauts") << QStringList { "angler=Jörg", "water=Möhnesee" }
                             << with({ { 2, "Jörg" }, { 9, "Möhnesee" } });
    QTest::newRow("blank angler passes") << QStringList { "angler= " } << with({ { 2, " " } });
    QTest::newRow("past date") << QStringList { "date=20.01.2000" }
                               << with({ { 1, "2000/01/20" }, { 17, "Vollmond" } });
    QTest::newRow("empty number boxes")
        << QStringList { "length=", "depth=" } << with({ { 8, "0" }, { 16, "0" } });
}

void TestAddFishSave::savedLine()
{
    QFETCH(QStringList, changes);
    QFETCH(QStringList, stored);
    Catch c;
    for (const QString& ch : changes) {
        const QString key = ch.section(u'=', 0, 0);
        const QString value = ch.section(u'=', 1);
        QString* field = key == u"weight" ? &c.weight
            : key == u"species"           ? &c.species
            : key == u"air"               ? &c.air
            : key == u"waterTemp"         ? &c.waterTemp
            : key == u"angler"            ? &c.angler
            : key == u"water"             ? &c.water
            : key == u"date"              ? &c.date
            : key == u"length"            ? &c.length
            : key == u"depth"             ? &c.depth
                                          : nullptr;
        QVERIFY2(field, qPrintable(key));
        *field = value;
    }
    auto w = f->open();
    fill(*w, c);
    QVERIFY(w->cmdSave->isEnabled());
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->t.dialogs.messageTexts(), QStringList { kSaved });
    QCOMPARE(f->t.dialogs.shown().last().icon, MsgIcon::Information);
    QCOMPARE(f->catchFile(), line(stored));
}

void TestAddFishSave::saveResetsWindow()
{
    auto w = f->open();
    Catch c;
    c.date = QStringLiteral("16.05.2004");
    fill(*w, c);
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(w->txtDate->text(), QStringLiteral("17.05.2004"));
    QCOMPARE(w->labPhase->text(), QStringLiteral("1/4 Mond ab."));
    QCOMPARE(w->txtFang->text(), QStringLiteral("00:00"));
    QCOMPARE(w->txtGewicht->text(), QStringLiteral("0,00"));
    QCOMPARE(w->txtTempLuft->text(), QStringLiteral("0"));
    QVERIFY(w->txtFänger->text().isEmpty());
    QVERIFY(w->txtWetter->text().isEmpty());
    QVERIFY(w->txtBild->text().isEmpty());
    // A second catch goes below the first.
    c.angler = QStringLiteral("Eva");
    fill(*w, c);
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    const QList<QByteArray> lines = f->catchFile().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(1).startsWith("\"2004/05/16\tEva\t"));
}

void TestAddFishSave::enterSaves()
{
    auto w = f->open();
    QVERIFY(showActive(*w));
    fill(*w, Catch {});
    w->txtWetter->setFocus(Qt::TabFocusReason);
    f->t.dialogs.expectMessage();
    QTest::keyClick(w->txtWetter, Qt::Key_Return);
    QCOMPARE(f->t.dialogs.messageTexts(), QStringList { kSaved });
    QVERIFY(f->catchFile().startsWith("\"2004/05/17\tMax\t"));
}

void TestAddFishSave::refusals_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");

    const QString format = QStringLiteral("Bitte geben Sie ein Datum im Format TT.MM.JJJJ ein!");
    QTest::newRow("future") << "date"
                            << "18.05.2004"
                            << "Fehler: Das eingegebene Datum liegt in der Zukunft!";
    QTest::newRow("no such day") << "date"
                                 << "31.02.2004" << format;
    QTest::newRow("short date") << "date"
                                << "17.5.2004" << format;
    QTest::newRow("stored form") << "date"
                                 << "2004/05/17" << format;
    QTest::newRow("far future but invalid") << "date"
                                            << "99.99.9999" << format;
    QTest::newRow("times out of order") << "catchTime"
                                        << "06:00"
                                        << "Fehler: Bitte prüfen Sie Angelbeginn, Fangzeit und "
                                           "Angelende!";
    QTest::newRow("no angler") << "angler"
                               << ""
                               << "Fehler: Es wurde kein Fänger eingegeben!";
    QTest::newRow("weight 0,00") << "weight"
                                 << "0,00"
                                 << "Fehler: Es wurde kein Gewicht eingegeben!";
    QTest::newRow("weight empty") << "weight"
                                  << ""
                                  << "Fehler: Es wurde kein Gewicht eingegeben!";
    QTest::newRow("weight no number") << "weight"
                                      << "2,,5"
                                      << "Fehler: Das eingegebene Gewicht ist keine gültige Zahl!";
    QTest::newRow("photo missing") << "photo"
                                   << "missing.jpg"
                                   << "Fehler: Das gewählte Bild wurde nicht gefunden!";
    QTest::newRow("photo no picture")
        << "photo"
        << "a.png"
        << "Fehler: Das gewählte Bild ist keine Bilddatei (jpg, jpeg, "
           "gif, bmp)!";
}

void TestAddFishSave::refusals()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    Catch c;
    c.photo = f->outsideFile(QStringLiteral("a.jpg"));
    if (field == u"date")
        c.date = value;
    else if (field == u"catchTime")
        c.catchTime = value;
    else if (field == u"angler")
        c.angler = value;
    else if (field == u"weight")
        c.weight = value;
    else if (value == u"a.png")
        c.photo = f->outsideFile(value);
    else
        c.photo = f->t.dir() + QStringLiteral("/Fotos/") + value;

    auto w = f->open();
    fill(*w, c);
    f->t.dialogs.expectMessage();
    w->cmdSave_Click();
    QCOMPARE(f->t.dialogs.messageTexts(), QStringList { message });
    QCOMPARE(f->t.dialogs.shown().last().icon, MsgIcon::Warning);
    // Nothing changed: no line, no photo, every box as typed.
    QCOMPARE(f->catchFile(), QByteArray());
    QVERIFY(QDir(f->t.dir() + QStringLiteral("/db/bilder")).isEmpty());
    QCOMPARE(w->txtDate->text(), c.date);
    QCOMPARE(w->txtFischArt->text(), c.species);
    QCOMPARE(w->txtTempLuft->text(), c.air);
    QCOMPARE(w->txtBild->text(), c.photo);
    QVERIFY(f->t.logEntries().isEmpty());
}

void TestAddFishSave::refusedThenSavedMarksPhotoOnce()
{
    auto w = f->open();
    Catch c;
    c.angler.clear();
    c.photo = f->outsideFile(QStringLiteral("a.jpg"));
    fill(*w, c);
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(w->txtFischArt->text(), QStringLiteral("Karpfen"));
    w->txtFänger->setText(QStringLiteral("Max"));
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->t.dialogs.messageTexts().last(), kSaved);
    QVERIFY(f->catchFile().contains("\tKarpfen*\t12,40\t"));
}

void TestAddFishSave::photoCopiedUnderDateAndTime_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("species");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("storedSpecies");

    QTest::newRow("capital JPG") << "a.JPG"
                                 << "Karpfen"
                                 << "17.05.2004_06-45-00.JPG"
                                 << "Karpfen*";
    QTest::newRow("jpeg, species empty") << "hecht.jpeg"
                                         << ""
                                         << "17.05.2004_06-45-00.jpeg"
                                         << "*";
    QTest::newRow("dotted name") << "mein.bild.gif"
                                 << "Aal"
                                 << "17.05.2004_06-45-00.gif"
                                 << "Aal*";
}

void TestAddFishSave::photoCopiedUnderDateAndTime()
{
    QFETCH(QString, chosen);
    QFETCH(QString, species);
    QFETCH(QString, stored);
    QFETCH(QString, storedSpecies);
    auto w = f->open();
    Catch c;
    c.species = species;
    c.photo = f->outsideFile(chosen, "JPEGDATA");
    fill(*w, c);
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->t.dialogs.messageTexts(), QStringList { kSaved });
    QFile copy(f->photo(stored));
    QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(f->photo(stored)));
    QCOMPARE(copy.readAll(), QByteArray("JPEGDATA"));
    QVERIFY(f->catchFile().contains(encode1252(u'\t' + storedSpecies + u'\t')));
    QVERIFY(QFileInfo::exists(c.photo)); // the user's own file stays
}

void TestAddFishSave::photoThatCannotBeStored()
{
    // "db\bilder" is a file: the catch is written, the user is told that its
    // photo could not be stored, and the failure is logged.
    QDir(f->t.dir() + QStringLiteral("/db/bilder")).removeRecursively();
    f->t.write(QStringLiteral("db\\bilder"), "not a folder");
    auto w = f->open();
    Catch c;
    c.photo = f->outsideFile(QStringLiteral("a.jpg"));
    fill(*w, c);
    f->t.dialogs.expectMessage();
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->t.dialogs.messageTexts(),
        (QStringList { QStringLiteral("Fehler: Der Fang wurde gespeichert, aber das Bild konnte "
                                      "nicht in den Ordner \"db\\bilder\" kopiert werden!"),
            kSaved }));
    QCOMPARE(f->t.dialogs.shown().first().icon, MsgIcon::Warning);
    QVERIFY(f->catchFile().contains("\tKarpfen*\t"));
    QCOMPARE(f->t.logEntries().size(), 1);
    QVERIFY(f->t.logEntries().first().startsWith(
        QStringLiteral("Sub frmAddFish.cmdSave_Click\tError (")));
}

void TestAddFishSave::unwritableCatchFileKeepsEverything()
{
    // A folder where the catch file should be cannot be appended to.
    QFile::remove(f->t.path(QStringLiteral("db\\fänge\\db")));
    QDir().mkpath(f->t.dir() + QStringLiteral("/db/Fänge/db"));
    auto w = f->open();
    Catch c;
    c.photo = f->outsideFile(QStringLiteral("a.jpg"));
    fill(*w, c);
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->t.dialogs.messageTexts(),
        QStringList { QStringLiteral("Fehler: Der Fang konnte nicht gespeichert werden. Bitte "
                                     "prüfen Sie, ob der Programmordner beschreibbar ist.") });
    QCOMPARE(f->t.dialogs.shown().first().icon, MsgIcon::Warning);
    QCOMPARE(w->txtFänger->text(), c.angler);
    QCOMPARE(w->txtFischArt->text(), c.species);
    QCOMPARE(w->txtTempLuft->text(), c.air);
    QCOMPARE(w->txtGewicht->text(), c.weight);
    QCOMPARE(w->txtBild->text(), c.photo);
    QVERIFY(QDir(f->t.dir() + QStringLiteral("/db/bilder")).isEmpty());
    QCOMPARE(f->t.logEntries().size(), 1);
    QVERIFY(f->t.logEntries().first().startsWith(
        QStringLiteral("Sub frmAddFish.cmdSave_Click\tError (")));
}

void TestAddFishSave::editMovesPhotoWithNewTime()
{
    f->t.write(QStringLiteral("db\\bilder\\17.05.2004_06-45-00.jpg"), "OLD");
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    auto w = f->open();
    QVERIFY(showActive(*w));
    w->txtFang->setText(QStringLiteral("07:10"));
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->t.dialogs.messageTexts(), QStringList { kSaved });
    QCOMPARE(f->catchFile(), editedLine(QStringLiteral("Karpfen*"), QStringLiteral("07:10")));
    QCOMPARE(f->t.read(QStringLiteral("db\\bilder\\17.05.2004_07-10-00.jpg")), QByteArray("OLD"));
    QVERIFY(!QFileInfo::exists(f->photo(QStringLiteral("17.05.2004_06-45-00.jpg"))));
    QVERIFY(!w->isVisible());
    QVERIFY(!f->app.editFlag);
}

void TestAddFishSave::editKeepsUnchangedPhoto()
{
    f->t.write(QStringLiteral("db\\bilder\\17.05.2004_06-45-00.JPG"), "OLD");
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    auto w = f->open();
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->catchFile(), editedLine(QStringLiteral("Karpfen*")));
    QCOMPARE(QDir(f->t.dir() + QStringLiteral("/db/bilder")).entryList(QDir::Files),
        QStringList { QStringLiteral("17.05.2004_06-45-00.JPG") });
}

void TestAddFishSave::editWithPhotoTakenOff()
{
    f->t.write(QStringLiteral("db\\bilder\\17.05.2004_06-45-00.jpg"), "OLD");
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    auto w = f->open();
    w->txtBild->clear();
    w->txtFang->setText(QStringLiteral("07:10"));
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->catchFile(), editedLine(QStringLiteral("Karpfen"), QStringLiteral("07:10")));
    QVERIFY(QDir(f->t.dir() + QStringLiteral("/db/bilder")).isEmpty());
}

void TestAddFishSave::editWithPhotoReplaced()
{
    f->t.write(QStringLiteral("db\\bilder\\17.05.2004_06-45-00.jpg"), "OLD");
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    auto w = f->open();
    w->txtBild->setText(f->outsideFile(QStringLiteral("neu.bmp"), "NEW"));
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->catchFile(), editedLine(QStringLiteral("Karpfen*")));
    QCOMPARE(QDir(f->t.dir() + QStringLiteral("/db/bilder")).entryList(QDir::Files),
        QStringList { QStringLiteral("17.05.2004_06-45-00.bmp") });
    QCOMPARE(f->t.read(QStringLiteral("db\\bilder\\17.05.2004_06-45-00.bmp")), QByteArray("NEW"));
}

void TestAddFishSave::editWithMissingPhotoDropsMark()
{
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    f->t.dialogs.expectMessage(); // the photo is not found
    auto w = f->open();
    f->t.dialogs.expectMessage();
    w->cmdSave->click();
    QCOMPARE(f->catchFile(), editedLine(QStringLiteral("Karpfen")));
}

void TestAddFishSave::cancelNewCatch()
{
    auto w = f->open();
    QVERIFY(showActive(*w));
    fill(*w, Catch {});
    w->txtDate->setText(QStringLiteral("01.01.2004"));
    w->cmdAbort->click();
    QVERIFY(!w->isVisible());
    QCOMPARE(w->txtDate->text(), QStringLiteral("17.05.2004"));
    QCOMPARE(f->catchFile(), QByteArray());
    QVERIFY(f->t.dialogs.shown().isEmpty());
}

void TestAddFishSave::cancelEdit_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("weight"); // "0,00" makes a Yes stop at its check
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("photoKept");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("cancel") << int(MsgResult::Cancel) << "12,40" << true << true << true
                            << QByteArray();
    QTest::newRow("no") << int(MsgResult::No) << "12,40" << false << false << false << QByteArray();
    QTest::newRow("yes") << int(MsgResult::Yes) << "12,40" << false << false << true
                         << editedLine(QStringLiteral("Karpfen*"));
    QTest::newRow("yes refused") << int(MsgResult::Yes) << "0,00" << true << true << true
                                 << QByteArray();
}

void TestAddFishSave::cancelEdit()
{
    QFETCH(int, answer);
    QFETCH(QString, weight);
    QFETCH(bool, open);
    QFETCH(bool, editing);
    QFETCH(bool, photoKept);
    QFETCH(QByteArray, file);
    const QString photoFile = QStringLiteral("db\\bilder\\17.05.2004_06-45-00.jpg");
    f->t.write(photoFile, "OLD");
    f->app.editFlag = true;
    f->app.editRecord = editRecord(QStringLiteral("Karpfen*"));
    auto w = f->open();
    QVERIFY(showActive(*w));
    w->txtGewicht->setText(weight);
    f->t.dialogs.answer(MsgResult(answer));
    if (answer == int(MsgResult::Yes))
        f->t.dialogs.expectMessage(); // saved, or the refusal
    w->cmdAbort->click();

    const FakeDialogs::Shown q = f->t.dialogs.shown().first();
    QCOMPARE(q.title, QStringLiteral("Änderungen speichern?"));
    QCOMPARE(q.text,
        QStringLiteral("Es liegen ungespeicherte Änderungen vor!\r\nWenn Sie den Vorgang "
                       "jetzt abbrechen, geht der Eintrag verloren!\r\nÄnderungen "
                       "jetzt speichern?"));
    QCOMPARE(q.icon, MsgIcon::Information);
    QCOMPARE(q.buttons, MsgButtons::YesNoCancel);

    QCOMPARE(w->isVisible(), open);
    QCOMPARE(f->app.editFlag, editing);
    QCOMPARE(f->app.editRecord.isEmpty(), answer == int(MsgResult::No));
    QCOMPARE(QFileInfo::exists(f->t.path(photoFile)), photoKept);
    QCOMPARE(f->catchFile(), file);
    if (open)
        QCOMPARE(w->txtFischArt->text(), QStringLiteral("Karpfen"));
}

void TestAddFishSave::escapeCancels()
{
    auto w = f->open();
    QVERIFY(showActive(*w));
    w->txtFänger->setFocus();
    QTest::keyClick(w->txtFänger, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QCOMPARE(f->catchFile(), QByteArray());
}

QTEST_MAIN(TestAddFishSave)
#include "tst_frmAddFishSave.moc"
