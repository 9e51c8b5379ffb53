#include "platform/qt/QtDialogs.h"

#include "platform/Env.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace {

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

QString titleOr(const QString& title)
{
    return title.isEmpty() ? kAppTitle : title;
}

QString hostFolder(const QString& folder)
{
    // "C:\" and other drive paths do not exist here: start in the home folder.
    QString f = folder;
    f.replace(u'\\', u'/');
    if (f.isEmpty() || !QFileInfo(f).isDir())
        return QDir::homePath();
    return f;
}

} // namespace

MsgResult QtDialogs::message(
    const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title)
{
    return show(text, icon, buttons, title, std::nullopt);
}

MsgResult QtDialogs::askYesNo(const QString& text, MsgResult preset, const QString& title)
{
    return show(text, MsgIcon::Question, MsgButtons::YesNo, title, preset);
}

MsgResult QtDialogs::show(const QString& text, MsgIcon icon, MsgButtons buttons,
    const QString& title, std::optional<MsgResult> preset)
{
    QMessageBox box(parentWindow());
    box.setWindowTitle(titleOr(title));
    box.setText(text);
    switch (icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::None:
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (preset == MsgResult::Yes)
        box.setDefaultButton(QMessageBox::Yes);
    else if (preset == MsgResult::No)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Ok:
        return MsgResult::Ok;
    default:
        // Escape without a Cancel button: the safe answer.
        return buttons == MsgButtons::YesNo ? MsgResult::No
            : buttons == MsgButtons::Ok     ? MsgResult::Ok
                                            : MsgResult::Cancel;
    }
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& preset)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        parentWindow(), titleOr(title), prompt, QLineEdit::Normal, preset, &ok);
    return ok ? text : QString();
}

QString qtFileFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(u';', u' ');
    const QString list = QStringLiteral("(") + patterns + u')';
    // Qt reads the patterns from the last parentheses: a display text that
    // shows them already needs them only once.
    if (filter.left(bar).endsWith(list))
        return filter.left(bar);
    return filter.left(bar) + u' ' + list;
}

QString QtDialogs::openFile(const QString& title, const QString& startFolder, const QString& filter)
{
    return QFileDialog::getOpenFileName(
        parentWindow(), title, hostFolder(startFolder), qtFileFilter(filter));
}

QString QtDialogs::saveFile(const QString& title, const QString& startFolder, const QString& filter)
{
    // A start path may end in a suggested file name inside an existing folder.
    QString start = hostFolder(startFolder);
    const QFileInfo suggested(QString(startFolder).replace(u'\\', u'/'));
    if (!startFolder.isEmpty() && !suggested.isDir() && suggested.dir().exists())
        start = suggested.filePath();
    return QFileDialog::getSaveFileName(parentWindow(), title, start, qtFileFilter(filter));
}

QString QtDialogs::chooseFolder(const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parentWindow(), title, hostFolder(startFolder));
}

bool QtShell::open(const QString& fileOrUrl)
{
    const QUrl url = fileOrUrl.contains(QStringLiteral("://")) ? QUrl(fileOrUrl)
                                                               : QUrl::fromLocalFile(fileOrUrl);
    return QDesktopServices::openUrl(url);
}

bool QtShell::startProgram(const QString& path)
{
    return QProcess::startDetached(path, {});
}
