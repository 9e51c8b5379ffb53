#pragma once

// Shared set-up of the catch entry window tests: a temporary program
// folder with the catch file and the photo folder, and an App around it.

#include "support/TestEnv.h"
#include "ui/App.h"
#include "ui/TextFilters.h"
#include "ui/frmAddFish.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

struct AddFishFixture {
    AddFishFixture()
    {
        t.write(QStringLiteral("db\\Fänge\\db"), QByteArray());
        QDir().mkpath(t.dir() + QStringLiteral("/db/bilder"));
    }

    // Opens the window the way the program does: the constructor loads it.
    std::unique_ptr<frmAddFish> open() { return std::make_unique<frmAddFish>(app); }

    // A file outside the program folder, as a photo the user picks.
    QString outsideFile(const QString& name, const QByteArray& bytes = "PIC")
    {
        QDir().mkpath(t.dir() + QStringLiteral("/Fotos"));
        const QString p = t.dir() + QStringLiteral("/Fotos/") + name;
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return p;
    }

    QString photo(const QString& name) const
    {
        return t.dir() + QStringLiteral("/db/bilder/") + name;
    }

    QByteArray catchFile() const { return t.read(QStringLiteral("db\\fänge\\db")); }

    TestEnv t;
    App app { t.env, [] {} };
};

// Types text key by key. QTest::keyClicks covers ASCII only; other
// characters arrive as key events carrying just their text, as an input
// method or a foreign keyboard layout delivers them.
inline void typeInto(QWidget* box, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClicks(box, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Shows the window and waits until it takes keyboard input.
inline bool showActive(QWidget& w)
{
    w.show();
    return QTest::qWaitForWindowActive(&w);
}
