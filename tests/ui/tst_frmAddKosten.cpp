// The cost window: its list and sums, filter mode, saving, editing, deleting,
// the purchase taken out for editing, and its keys.
#include "platform/Paths.h"
#include "store/RecordFile.h"
#include "ui/AppFixture.h"
#include "ui/TabListView.h"
#include "ui/frmAddKosten.h"
#include "ui/frmHaupt.h"

#include <QAction>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kJan = sampleCostLine({ { 1, u"2006/01/15"_s }, { 3, u"1"_s }, { 4, u"Rute"_s },
    { 5, u"12,00 €"_s }, { 6, u"12,00 €"_s }, { 7, u"0,00 €"_s }, { 8, u"12,00 €"_s } });
const QString kFeb1 = sampleCostLine({ { 1, u"2006/02/01"_s }, { 2, u"Köderkiste"_s } });
const QString kFeb3
    = sampleCostLine({ { 1, u"2006/02/03"_s }, { 3, u"2"_s }, { 4, u"Haken Gr. 4"_s },
        { 5, u"2,00 €"_s }, { 6, u"4,00 €"_s }, { 7, u"1,00 €"_s }, { 8, u"5,00 €"_s } });
// Date, shop, quantity, article, unit price and shipping as typed for the
// sample purchase (9,40 € in all).
const QStringList kTyped { u"05.03.2006"_s, u"Anglerladen"_s, u"3"_s, u"Haken Gr. 8"_s, u"1,5"_s,
    u"4,9"_s };

enum class Ending { Program, CloseBox, Button, NextEdit };

QString listed(const QString& stored)
{
    return stored.mid(8, 2) + u'.' + stored.mid(5, 2) + u'.' + stored.left(4) + stored.mid(10);
}

} // namespace

class TestFrmAddKosten : public QObject, AppFixture {
    Q_OBJECT

    frmAddKosten* w = nullptr;

    void open(const QStringList& items = {})
    {
        t->clock.set(QDateTime(QDate(2006, 6, 1), QTime(12, 0)));
        t->write(kCostLogPath, recordFileBytes(items));
        makeApp();
        app->kosten = w = app->createCosts();
    }
    QStringList stored() const { return ParseItems(t->read(kCostLogPath)); }
    void select(int row) const
    {
        w->lstKosten->selectionModel()->select(
            w->lstKosten->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    }
    QList<QLineEdit*> boxes() const
    {
        return { w->txtDate, w->txtGeschäft, w->txtMenge, w->txtBezeichnung, w->txtEinzelpreis,
            w->txtVersandkosten };
    }
    void fill(const QStringList& entry) const
    {
        for (int i = 0; i < 6; ++i)
            boxes()[i]->setText(entry[i]);
    }
    static QStringList texts(const QList<QLineEdit*>& boxes)
    {
        QStringList out;
        for (QLineEdit* b : boxes)
            out.append(b->text());
        return out;
    }

private Q_SLOTS:
    void cleanup() { closeApp(); }

    // A refusal shows the entry check's text and keeps every box; a save
    // appends the purchase and empties the boxes.
    void save()
    {
        open({ kJan });
        QStringList tomorrow = kTyped;
        tomorrow[0] = u"02.06.2006"_s;
        fill(tomorrow);
        t->dialogs.expectMessage();
        w->cmdSave_Click();
        QCOMPARE(texts(boxes()), tomorrow);
        fill(kTyped);
        t->dialogs.expectMessage();
        w->cmdSave_Click();
        QCOMPARE(t->dialogs.messageTexts().last(), u"Datensatz gespeichert!"_s);
        QCOMPARE(stored().last(), sampleCostLine());
        QCOMPARE(texts(boxes()), (QStringList { u"01.06.2006"_s, {}, {}, {}, {}, {} }));
        QCOMPARE(w->fraVorschau->title(), u"Aktuelle Posten (2):"_s);
    }

    void editTakesPurchaseOut()
    {
        open({ kJan, kFeb1, kFeb3 });
        select(1);
        w->cmdEdit_Click();
        QCOMPARE(texts(boxes()),
            (QStringList { u"01.02.2006"_s, u"Köderkiste"_s, u"3"_s, u"Haken Gr. 8"_s, u"1,50"_s,
                u"4,90"_s }));
        QCOMPARE(w->lstKosten->count(), 2); // the purchase left the log
        t->dialogs.expectMessage();
        w->cmdSave_Click(); // saving ends the edit
        QVERIFY(app->state.log->costOutForEdit().isEmpty());
        QCOMPARE(stored().size(), 3);
    }

    void deleteAsks_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("sums"); // price, shipping, total
        QTest::newRow("Yes") << MsgResult::Yes << QStringList { kFeb3, kJan }
                             << QStringList { u"16,00 €"_s, u"1,00 €"_s, u"17,00 €"_s };
        QTest::newRow("No") << MsgResult::No << QStringList { kJan, kFeb1, kFeb3 }
                            << QStringList { u"20,50 €"_s, u"5,90 €"_s, u"26,40 €"_s };
    }
    void deleteAsks()
    {
        QFETCH(MsgResult, answer);
        open({ kJan, kFeb1, kFeb3 });
        select(1);
        t->dialogs.answer(answer);
        w->cmdDelete_Click();
        QVERIFY(t->dialogs.messageTexts()
                == QStringList { u"Wollen Sie den Eintrag wirklich löschen?"_s }
            && t->dialogs.shown().first().buttons == MsgButtons::YesNo);
        QTEST(stored(), "stored");
        QTEST(texts({ w->txtPreisG, w->txtVersandG, w->txtGesamt }), "sums");
    }

    // A purchase taken out for editing, its quantity changed to 9, and then
    // the edit is ended one way or another.
    void pendingEdit_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<MsgResult>("answer"); // Ok: no question
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("quantity"); // left in its box
        QTest::addColumn<bool>("visible");
        const QStringList out { kFeb1, kJan };
        const QStringList back { kFeb1, kJan, kFeb3 };
        QTest::newRow("program end")
            << Ending::Program << MsgResult::Ok << back << false << u"9"_s << true;
        QTest::newRow("close box, Yes puts it back")
            << Ending::CloseBox << MsgResult::Yes << back << false << QString() << false;
        QTest::newRow("button, Yes keeps it hidden")
            << Ending::Button << MsgResult::Yes << out << true << u"9"_s << false;
        QTest::newRow("next edit, Yes puts it back")
            << Ending::NextEdit << MsgResult::Yes << QStringList { kJan, kFeb3 } << true << u"3"_s
            << true;
    }
    void pendingEdit()
    {
        QFETCH(Ending, ending);
        QFETCH(MsgResult, answer);
        open({ kJan, kFeb1, kFeb3 });
        w->ShowWindow();
        select(0);
        w->cmdEdit_Click(); // kFeb3 out
        w->txtMenge->setText(u"9"_s);
        if (answer != MsgResult::Ok)
            t->dialogs.answer(answer);
        const std::function<void()> end[]
            = { [&] { app->EndProgram(); }, [&] { w->close(); }, [&] { w->cmdAbort_Click(); },
                  [&] {
                      select(0);
                      w->cmdEdit_Click();
                  } };
        end[int(ending)]();
        if (answer != MsgResult::Ok) {
            const auto& q = t->dialogs.shown().first();
            QVERIFY(q.text.startsWith(ending == Ending::NextEdit ? u"Der Einkauf, der gerade"_s
                                                                 : u"Es liegen ungespeicherte"_s));
            QCOMPARE(q.buttons, MsgButtons::YesNo);
        }
        QTEST(stored(), "stored");
        QTEST(!app->state.log->costOutForEdit().isEmpty(), "editing");
        QTEST(w->txtMenge->text(), "quantity");
        QTEST(w->isVisible(), "visible");
    }

    void boxesTakeTheirKindOfText()
    {
        open();
        const QStringList kept { u"1.2.3"_s, u"a 1.2,3"_s, u"123"_s, u"a 1.2,3"_s, u"1,2,3"_s,
            u"1,2,3"_s };
        for (int i = 0; i < 6; ++i) {
            boxes()[i]->clear();
            QTest::keyClicks(boxes()[i], u"a\" 1.2,3"_s);
            QCOMPARE(boxes()[i]->text(), kept[i]);
        }
    }

    // Filter mode from the menu, searching with the text in the box; the keys
    // in both modes; a refresh searches again, leaving reloads the whole list.
    void filterModeAndKeys()
    {
        startApp();
        w = app->kosten;
        QVERIFY(w && !w->isVisible());
        t->write(kCostLogPath, recordFileBytes({ kJan, kFeb1, kFeb3 }));
        app->haupt->cmdKostenÜbersicht->click();
        QCOMPARE(w->lstKosten->count(), 3);
        t->dialogs.expectMessage();
        QTest::keyClick(w->txtMenge, Qt::Key_Return); // entry mode: Save, which refuses
        QCOMPARE(t->dialogs.messageTexts().last(), u"Bitte die Menge eingeben!"_s);
        QTest::keyClick(w->txtMenge, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        w->txtFilter->setText(u"rute"_s);
        app->haupt->mnuFilterKosten->trigger();
        QVERIFY(w->isVisible() && w->filterMode());
        QCOMPARE(w->lstKosten->count(), 1);
        QVERIFY(!w->cmdSave->isEnabled() && !w->cmdEdit->isEnabled() && !w->cmdDelete->isEnabled());
        QVERIFY(w->imgFilterFalse->isHidden() && !w->imgFilterTrue->isHidden()
            && !w->txtGesamt2->isHidden());
        QCOMPARE(w->lstKosten->accessibleName(), u"Gefilterte Einkäufe"_s);
        w->txtFilter->setText(u"haken"_s);
        QTest::keyClick(w->txtFilter, Qt::Key_Return); // filter mode: Filter
        QCOMPARE(w->fraVorschau->title(), u"Aktuelle Posten (2):"_s);
        t->write(kCostLogPath, recordFileBytes({ kJan, kFeb1 }));
        app->Änderung();
        QCOMPARE(w->lstKosten->items(), QStringList { listed(kFeb1) });
        QCOMPARE(w->txtGesamt2->text(), u"9,40 €"_s);
        t->write(kCostLogPath, recordFileBytes({ kJan, kFeb1, kFeb3 }));
        w->chkFilter_Click();
        QVERIFY(!w->filterMode() && w->txtGesamt2->isHidden() && w->txtFilter->text().isEmpty());
        QCOMPARE(w->lstKosten->count(), 3);
        QCOMPARE(w->lstKosten->accessibleName(), u"Alle Einkäufe"_s);
        w->chkFilter_Click();
        w->txtFilter->setText(u"rute"_s);
        QTest::keyClick(w->txtFilter, Qt::Key_Escape); // leaves filter mode and closes
        QVERIFY(!w->isVisible() && !w->filterMode() && w->txtFilter->text().isEmpty());
        app->haupt->mnuAddKosten->trigger();
        QVERIFY(w->isVisible() && !w->filterMode());
    }
};

QTEST_MAIN(TestFrmAddKosten)
#include "tst_frmAddKosten.moc"
