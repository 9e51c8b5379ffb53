#include "app/Journal.h"

#include "app/BackupFiles.h"
#include "platform/ErrorLog.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace BackupFiles;

namespace {

const QByteArray kHead = "Kescherheft-Vorgang";
constexpr qint64 kJournalLimit = qint64(64) << 20;

// Paths are written percent-encoded, so that any name fits one line.
QByteArray enc(const QString& path)
{
    return path.toUtf8().toPercentEncoding("/");
}

QString dec(const QByteArray& bytes)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

QByteArray stateWord(Journal::State s)
{
    return s == Journal::Done  ? "abgeschlossen"
        : s == Journal::Undone ? "zurueckgenommen"
                               : "offen";
}

QByteArray journalBytes(const Journal& j, Journal::State state)
{
    QByteArray out = kHead + "\n";
    out += "Art " + enc(j.kind) + "\n";
    out += "Ort " + enc(j.place) + "\n";
    out += "Sicherheitskopie " + enc(j.safetyCopy) + "\n";
    out += "Zustand " + stateWord(state) + "\n";
    for (const QString& c : j.cleanup)
        out += "Entfernen " + enc(c) + "\n";
    for (const Move& m : j.moves)
        out += "Verschieben " + enc(m.from) + " " + enc(m.to) + "\n";
    return out;
}

bool readJournal(const QString& path, Journal& j, Journal::State& state)
{
    QFile f(path);
    if (f.size() > kJournalLimit || !f.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = f.readAll().split('\n');
    if (lines.isEmpty() || lines[0] != kHead)
        return false;
    bool hasState = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> w = lines[i].split(' ');
        if (lines[i].isEmpty())
            continue;
        if (w.size() == 2 && w[0] == "Art")
            j.kind = dec(w[1]);
        else if (w.size() == 2 && w[0] == "Ort")
            j.place = dec(w[1]);
        else if (w.size() == 2 && w[0] == "Sicherheitskopie")
            j.safetyCopy = dec(w[1]);
        else if (w.size() == 2 && w[0] == "Entfernen")
            j.cleanup.append(dec(w[1]));
        else if (w.size() == 3 && w[0] == "Verschieben")
            j.moves.append({ dec(w[1]), dec(w[2]) });
        else if (w.size() == 2 && w[0] == "Zustand") {
            hasState = true;
            state = w[1] == stateWord(Journal::Done) ? Journal::Done
                : w[1] == stateWord(Journal::Undone) ? Journal::Undone
                                                     : Journal::Open;
        } else
            return false;
    }
    return hasState;
}

bool there(const QString& path)
{
    return kindOf(path) != Kind::Missing;
}

// Moves back what was moved, newest first. A move is undone when its
// target is there and its source free; one never made is left alone.
bool undo(const QList<Move>& moves, qsizetype count)
{
    bool ok = true;
    for (qsizetype i = count - 1; i >= 0; --i) {
        const Move& m = moves[i];
        if (there(m.to) && !there(m.from))
            ok = moveTo(m.to, m.from) == 0 && ok;
    }
    return ok;
}

// Ends a step whose renames are all done or all undone: the journal says
// so first, then the step's folders go, and the journal last.
void finish(const QString& path, const Journal& j, Journal::State state)
{
    // Without the new state the next start must see the moves as they are.
    if (writeFile(path, journalBytes(j, state)) != 0)
        return;
    for (const QString& c : j.cleanup)
        removeTree(c);
    removeTree(path);
}

QString what(const Journal& j)
{
    if (j.kind == u"Export"_s)
        return u"Der Export nach '%1'"_s.arg(j.place);
    if (j.kind == u"Zurücksetzen"_s)
        return u"Das Zurücksetzen der Datenbank(en)"_s;
    return u"Das Einlesen der Sicherung '%1'"_s.arg(j.place);
}

} // namespace

Outcome CarryOut(const Env& env, const Journal& journal)
{
    const QString path = hostPath(env.programDir, kJournalFile);
    if (writeFile(path, journalBytes(journal, Journal::Open)) != 0)
        return Outcome::Undone;
    for (qsizetype i = 0; i < journal.moves.size(); ++i) {
        if (moveTo(journal.moves[i].from, journal.moves[i].to) == 0)
            continue;
        // The journal stays when not everything is back, so that the next
        // start tries again.
        if (!undo(journal.moves, i))
            return Outcome::Stuck;
        finish(path, journal, Journal::Undone);
        return Outcome::Undone;
    }
    finish(path, journal, Journal::Done);
    return Outcome::Done;
}

Recovery RecoverUnfinished(const Env& env)
{
    const QString path = hostPath(env.programDir, kJournalFile);
    if (!there(path)) {
        // A step stopped before its journal changed nothing of the user's:
        // what it prepared goes.
        removeTree(hostPath(env.programDir, kImportStagingFolder));
        const QString photos = hostPath(env.programDir, kPhotoFolder);
        if (QFileInfo(photos).isDir())
            removeTree(photos + u'/' + kPhotoWorkFolder);
        return {};
    }
    ErrorTrap trap(env, u"Sub CheckFiles"_s);
    Journal j;
    Journal::State state = Journal::Open;
    if (kindOf(path) != Kind::File || !readJournal(path, j, state)) {
        trap.log(Err::TypeMismatch);
        return { Recovery::Failed,
            u"Ein unterbrochener Vorgang konnte nicht abgeschlossen werden: Die Datei '%1' "
            u"ist nicht lesbar.\r\nEs wurde nichts verändert."_s.arg(path) };
    }
    const QString copyNote = j.safetyCopy.isEmpty()
        ? QString()
        : u"\r\nDer vorherige Stand liegt in der Sicherheitskopie '%1'."_s.arg(j.safetyCopy);
    const Recovery completed { Recovery::Completed,
        what(j) + u" wurde unterbrochen und ist jetzt abgeschlossen worden."_s + copyNote };
    const Recovery undone { Recovery::Undone,
        what(j)
            + u" wurde unterbrochen und konnte nicht abgeschlossen werden. Der vorherige "
              u"Stand ist wiederhergestellt."_s };
    if (state == Journal::Done) {
        finish(path, j, Journal::Done);
        return completed;
    }
    if (state == Journal::Undone) {
        finish(path, j, Journal::Undone);
        return undone;
    }
    qsizetype i = 0;
    for (; i < j.moves.size(); ++i) {
        const Move& m = j.moves[i];
        if (!there(m.from) && there(m.to))
            continue;
        if (there(m.from) && !there(m.to) && moveTo(m.from, m.to) == 0)
            continue;
        break;
    }
    if (i == j.moves.size()) {
        finish(path, j, Journal::Done);
        return completed;
    }
    trap.log(Err::PathFileAccess);
    if (undo(j.moves, j.moves.size())) {
        finish(path, j, Journal::Undone);
        return undone;
    }
    return { Recovery::Failed,
        what(j)
            + u" wurde unterbrochen und konnte weder abgeschlossen noch rückgängig gemacht "
              u"werden.\r\nDie Beschreibung des Vorgangs steht in '%1'; es wurde nichts "
              u"gelöscht."_s.arg(path)
            + copyNote };
}

namespace {

void recordFinals(const QString& staged, const QString& final, QHash<QString, QString>* finals)
{
    if (!finals)
        return;
    if (kindOf(staged) != Kind::Folder) {
        finals->insert(staged, final);
        return;
    }
    for (const QString& name : entries(staged))
        recordFinals(staged + u'/' + name, final + u'/' + name, finals);
}

} // namespace

void PlanInto(const QString& staged, const QString& target, const QString& previous,
    QList<Move>& moves, QHash<QString, QString>* finals, FileFault& fault,
    const QSet<QString>& gone)
{
    const auto kindThere
        = [&](const QString& path) { return gone.contains(path) ? Kind::Missing : kindOf(path); };
    const QStringList names = entries(staged);
    QSet<QString> own;
    for (const QString& n : names)
        own.insert(n);
    for (const QString& name : names) {
        if (fault)
            return;
        const QString from = staged + u'/' + name;
        const bool folder = kindOf(from) == Kind::Folder;
        QString to = target + u'/' + name;
        if (kindThere(to) == Kind::Missing) {
            // Another spelling of the name, unless the staged folder has
            // that spelling too (photos that differ only in letter case).
            QStringList same;
            for (const QString& n : entries(target)) {
                if (!own.contains(n) && !gone.contains(target + u'/' + n)
                    && folded(n) == folded(name))
                    same.append(n);
            }
            if (same.size() > 1 && folder) {
                fault = { Err::PathFileAccess, FileFault::Twins, target + u'/' + same[0] };
                fault.other = target + u'/' + same[1];
                return;
            }
            if (same.size() == 1)
                to = target + u'/' + same[0];
        }
        const Kind there = kindThere(to);
        if (there == Kind::Link) {
            fault = { Err::PathFileAccess, FileFault::Link, to };
            return;
        }
        if (there == Kind::Folder && folder) {
            PlanInto(from, to, previous + u'/' + QFileInfo(to).fileName(), moves, finals, fault);
            continue;
        }
        if (there != Kind::Missing) {
            if (!makeFolder(previous)) {
                fault = { Err::PathFileAccess, FileFault::Writing, previous };
                return;
            }
            moves.append({ to, previous + u'/' + QFileInfo(to).fileName() });
            to = target + u'/' + name;
        }
        moves.append({ from, to });
        recordFinals(from, to, finals);
    }
}
