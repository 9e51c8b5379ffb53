#pragma once

// Set-up of the catch entry window tests: the program over a folder with an
// empty catch file, and the sample catch typed in or handed over for editing.

#include "platform/ErrorLog.h"
#include "store/Logbook.h"
#include "ui/AppFixture.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <utility>

// Field numbers (from 1) with their texts; in the window, 17 is the photo box.
using Fields = QList<std::pair<int, QString>>;

inline QStringList changed(QStringList fields, const Fields& changes)
{
    for (const auto& [number, text] : changes)
        fields[number - 1] = text;
    return fields;
}

inline QList<QLineEdit*> boxes(const frmAddFish& w)
{
    return { w.txtDate, w.txtFänger, w.txtBeginn, w.txtFang, w.txtEnde, w.txtFischArt, w.txtGewicht,
        w.txtLänge, w.txtGewässer, w.txtStelle, w.txtMethode, w.txtKöder, w.txtWetter,
        w.txtTempLuft, w.txtTempWasser, w.txtAngeltiefe, w.txtBild };
}

inline QStringList boxTexts(const frmAddFish& w)
{
    QStringList texts;
    for (const QLineEdit* b : boxes(w))
        texts.append(b->text());
    return texts;
}

// The boxes of a new catch.
inline QStringList newCatchTexts()
{
    return QStringLiteral("17.05.2004||00:00|00:00|00:00||0,00|0||||||0|0|0|").split(u'|');
}

// The sample catch as the overview hands it over: date as shown, no quotes.
inline QString editRecord(const Fields& changes = {})
{
    return changed(sampleCatch(), Fields { { 1, QStringLiteral("17.05.2004") } } + changes)
        .join(u'\t');
}

// The catch file holding the sample catch saved on 17.05.2004.
inline QByteArray savedSample(const Fields& changes = {})
{
    const Fields phase { { 17, QStringLiteral("1/4 Mond ab.") } };
    return recordFileBytes({ changed(sampleCatch(), phase + changes).join(u'\t') });
}

struct AddFishFixture : AppFixture {
    AddFishFixture()
    {
        makeApp();
        t->write(QStringLiteral("db\\Fänge\\db"), QByteArray());
        QDir().mkpath(photo(QString()));
    }

    std::unique_ptr<frmAddFish> open() { return std::make_unique<frmAddFish>(app->state); }

    // Hands the sample catch over for editing, with these files in "db\bilder".
    std::unique_ptr<frmAddFish> openForEdit(const Fields& changes, const QStringList& photos)
    {
        for (const QString& p : photos)
            t->write(QStringLiteral("db\\bilder\\") + p, "OLD");
        t->write(QStringLiteral("db\\Fänge\\db"),
            recordFileBytes({ CatchStoredItem(t->env, editRecord(changes)) }));
        ErrorTrap trap(t->env, QStringLiteral("Test"));
        app->state.log->refresh(QStringLiteral("Test"));
        app->state.log->takeCatchForEdit(0, trap);
        return open();
    }

    // Sets boxes past the key filters; a photo box text names a file the
    // user picks outside the program folder.
    void enter(frmAddFish& w, const Fields& changes)
    {
        const QList<QLineEdit*> b = boxes(w);
        for (const auto& [number, text] : changes) {
            QString box = text;
            if (number == 17 && !text.isEmpty()) {
                box = t->dir() + QStringLiteral("/Fotos/") + text;
                t->write(QStringLiteral("Fotos\\") + text, text.toUtf8());
            }
            b[number - 1]->setText(box);
        }
    }

    // The sample catch as a user types it, with changes.
    void typeSample(frmAddFish& w, const Fields& changes = {})
    {
        const QStringList typed
            = QStringLiteral("17.05.2004|Max|06:30|06:45|10:00|Karpfen|12,4|84|"
                             "Baggersee|Steg 3|Festblei|Boilie|sonnig|18|14|2,5|")
                  .split(u'|');
        Fields all;
        for (int n = 1; n <= 17; ++n)
            all.append({ n, typed[n - 1] });
        enter(w, all + changes);
    }

    QString photo(const QString& name) const
    {
        return t->dir() + QStringLiteral("/db/bilder/") + name;
    }
    QStringList photos() const { return QDir(photo(QString())).entryList(QDir::Files); }
    QByteArray catchFile() const { return t->read(QStringLiteral("db\\fänge\\db")); }
};

// Types text key by key; beyond ASCII as key events carrying just their text.
inline void typeInto(QWidget* box, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClicks(box, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline bool showActive(QWidget& w)
{
    w.show();
    return QTest::qWaitForWindowActive(&w);
}
