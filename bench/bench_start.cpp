// The program's own start, watched from inside its process for the
// benchmark: copied into a program folder and started there, it runs
// exactly what the program runs (the German application, the real clock
// and dialogs, Main, the event loop). When the event loop first has
// nothing left to do while the main window is shown with the catch count
// given as argument, it prints "shown", the main window's two count
// captions and the process's peak memory so far (VmHWM, kB), and ends.
// A dialog open at that moment is a question nobody will answer: it is
// printed as a fault and the process ends with 3.
//
//   kescherheft_bench_start "Gefangene Fische: 32767"
#include "ui/Program.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString expectedCaption;

long peakMemoryKiB()
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void reportWhenFilled()
{
    static bool reported = false;
    if (reported)
        return;
    QWidget* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            std::printf("fault: dialog open at start: %s\n",
                qPrintable(box ? box->text() : dialog->windowTitle()));
            std::fflush(stdout);
            std::_Exit(3);
        }
        if (w->objectName() == u"frmHaupt")
            main = w;
    }
    if (!main)
        return;
    auto* catches = main->findChild<QPushButton*>(u"cmdFangÜbersicht"_s);
    auto* costs = main->findChild<QPushButton*>(u"cmdKostenÜbersicht"_s);
    if (!catches || !costs || catches->text() != expectedCaption)
        return;
    reported = true;
    std::printf("shown\t%s\t%s\t%ld\n", qPrintable(catches->text()), qPrintable(costs->text()),
        peakMemoryKiB());
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

// Runs as the application object is made, before the program's Main.
void watchStart()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) {
        std::printf("fault: no event dispatcher to watch\n");
        std::fflush(stdout);
        std::_Exit(3);
    }
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &reportWhenFilled);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchStart)

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <catch caption>\n", argv[0]);
        return 2;
    }
    expectedCaption = QString::fromUtf8(argv[1]);
    int programArgc = 1;
    return runProgram(programArgc, argv);
}
