// The filtered text box: what each kind takes, every way of putting text
// in passes the filter, text set by the program does not.
#include "ui/TextFilters.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(InputKind)

class TestTextFilters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<InputKind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const QString mixed = u"-1.2,3 a\"\t\r\n€Ω"_s;
        QTest::newRow("record text") << InputKind::RecordText << mixed << u"-1.2,3 a€"_s;
        QTest::newRow("record text: undefined 1252 byte")
            << InputKind::RecordText << u"a\u0081\u00A0b\u007F"_s << u"a\u00A0b"_s;
        QTest::newRow("number") << InputKind::Number << mixed << u"1,2,3"_s;
        QTest::newRow("signed number") << InputKind::SignedNumber << mixed << u"-1,2,3"_s;
        QTest::newRow("digits") << InputKind::Digits << mixed << u"123"_s;
        QTest::newRow("date") << InputKind::Date << mixed << u"1.2.3"_s;
        QTest::newRow("non-ASCII digits") << InputKind::Digits << u"٣３3"_s << u"3"_s;
    }
    void kinds()
    {
        QFETCH(InputKind, kind);
        QFETCH(QString, typed);
        QTEST(filterInput(kind, typed), "expected");
    }

    void inputPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<InputKind>("kind");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("expected");
        // One kind a path; the kinds table holds what each kind takes.
        QTest::newRow("keys") << u"keys"_s << InputKind::Date << u",05a"_s << u"17.05"_s;
        QTest::newRow("Ctrl+V") << u"Ctrl+V"_s << InputKind::RecordText << u"\"x\ty\""_s
                                << u"17xy"_s;
        QTest::newRow("context menu")
            << u"context menu"_s << InputKind::Digits << u"\"5"_s << u"175"_s;
        QTest::newRow("drop") << u"drop"_s << InputKind::Date << u",05a"_s << u"17.05"_s;
        QTest::newRow("input method")
            << u"input method"_s << InputKind::RecordText << u"\"x\ty\""_s << u"17xy"_s;
    }
    void inputPaths()
    {
        QFETCH(QString, path);
        QFETCH(InputKind, kind);
        QFETCH(QString, inserted);
        FilteredLineEdit box(kind);
        box.resize(200, 24);
        box.setText(u"17"_s);
        box.end(false);
        QApplication::clipboard()->setText(inserted);
        if (path == u"keys") {
            for (QChar c : inserted)
                QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString(c), {});
        } else if (path == u"Ctrl+V") {
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        } else if (path == u"context menu") { // the menu's "Paste" runs after its event
            QContextMenuEvent open(
                QContextMenuEvent::Mouse, QPoint(5, 5), box.mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(&box, &open);
            auto* menu = box.findChild<QMenu*>();
            QVERIFY(menu);
            const QList<QAction*> actions = menu->actions();
            const auto paste = std::find_if(actions.begin(), actions.end(),
                [](QAction* a) { return a->text().startsWith(QLineEdit::tr("&Paste")); });
            QVERIFY(paste != actions.end());
            (*paste)->trigger();
            menu->close();
        } else if (path == u"drop") {
            QMimeData data;
            data.setText(inserted);
            const QPoint end(box.width() - 2, 5);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&box, &enter);
            QDragMoveEvent move(end, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&box, &move);
            QDropEvent drop(QPointF(end), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&box, &drop);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(inserted);
            QApplication::sendEvent(&box, &commit);
        }
        QTEST(box.text(), "expected");
    }

    // Typed text replaces the selection; the cursor stays after what was
    // really inserted.
    void selectionReplaced()
    {
        FilteredLineEdit box(InputKind::Date);
        box.setText(u"12.05.2004"_s);
        box.setSelection(2, 4);
        QTest::keyClicks(&box, u",x0"_s);
        QCOMPARE(box.text(), u"12.02004"_s);
        QCOMPARE(box.cursorPosition(), 4);
    }

    // Loaded text is kept as it is, can be typed after, and comes back on undo.
    void programText()
    {
        FilteredLineEdit box(InputKind::SignedNumber);
        box.setText(u"+ 18"_s);
        box.insert(u"x"_s);
        QCOMPARE(box.text(), u"+ 18x"_s);
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keySequence(&box, QKeySequence::Undo);
        QCOMPARE(box.text(), u"+ 18x"_s);
    }
};

QTEST_MAIN(TestTextFilters)
#include "tst_TextFilters.moc"
