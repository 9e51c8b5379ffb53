#pragma once

#include "platform/Env.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

class ErrorTrap;

// The catch log's rules apart from any window: the list line of a stored
// catch and back, the record the entry window saves with its checks, and
// the photo that belongs to a catch.

// The picture types a catch photo may have, in the order they are looked for.
extern const QStringList kPhotoExtensions;

// The overview's list line of one stored catch (the text between the quotes
// of a file line): "X" when it holds the photo mark "*" (else a blank), a
// TAB, the date in display form and fields 2..17 as stored.
QString CatchListLine(const Env& env, const QString& storedItem);

// The stored item of a list record (a list line without its mark and TAB):
// the date turned back into year/month/day, the rest as it stands.
QString CatchStoredItem(const Env& env, const QString& listRecord);

// The photo's file name without extension: "dd.mm.yyyy_hh-mm-00".
QString PhotoBaseName(const QString& displayDate, const QString& catchTime);

// The host path a catch photo of that date, time and extension is stored at.
QString PhotoPath(
    const Env& env, const QString& displayDate, const QString& catchTime, const QString& extension);

// The stored photo of a catch, or an empty text. Every extension is tried;
// when several files exist the last one wins.
QString FindPhoto(const Env& env, const QString& displayDate, const QString& catchTime);

// True when a catch on one of the catch list lines (header lines included)
// other than line `except` has a photo mark and its photo that file name.
bool PhotoNamed(const QStringList& listLines, const QString& baseName, int except = -1);

// Removes the photo files of the catch on line `row` of a catch list
// (header lines included), unless another catch of the list with a photo
// shares the same file name. Every extension goes; names are compared,
// never used as a wildcard. Throws RuntimeError 53 when the catch has a
// photo mark but no file was there to remove.
void RemovePhotos(const Env& env, const QStringList& listLines, int row);

// The stored photo of the catch of a list record, or an empty text.
QString FindPhotoOfRecord(const Env& env, const QString& listRecord);

// A date typed exactly as TT.MM.JJJJ that exists in the calendar; an
// invalid QDate otherwise.
QDate TypedDate(const QString& text);

// Minutes since midnight of a time typed as hh?mm (the middle character is
// not looked at), or -1 when it is not a time of day.
int TimeMinutes(const QString& text);

// What the catch entry window's boxes hold, as typed.
struct CatchEntry {
    QString date; // dd.mm.yyyy
    QString angler;
    QString begin; // hh:mm
    QString catchTime;
    QString end;
    QString species;
    QString weight;
    QString length;
    QString water;
    QString spot;
    QString rig;
    QString bait;
    QString weather;
    QString airTemp;
    QString waterTemp;
    QString depth;
    QString photo; // host path of the chosen picture, or empty
    QString moonPhase;
};

// True when the three times are times of day in order (begin <= catch <=
// end) and, for a catch of today, all before the current minute.
bool CatchTimesValid(const CatchEntry& e, const QDateTime& now);

// The refusal the save shows for the entry, or an empty text when it can
// be stored. Checked in this order: date form, date in the future, times,
// angler, weight given, weight readable, photo present, photo type.
QString CheckCatchEntry(const CatchEntry& e, const QDateTime& now);

// The 17 fields of the catch record of a checked entry: date "de-en", the
// photo mark "*" after the species (a blank species when empty), the
// weight in two-decimal form, "0" for an empty length, temperature or
// depth, "+ " before a temperature above zero. Conversion failures are
// logged through trap.
QStringList CatchFields(const Env& env, const CatchEntry& e, ErrorTrap& trap);

// The numeric fields of one catch that the statistics read, each read once
// when the log is read. An error number of 0 means the field was read; else
// it is the number the reading failed with (13 not a number, 6 too large).
struct CatchNumbers {
    float weight = 0; // field 7, kg
    float depth = 0; // field 16, m
    qint16 length = 0; // field 8, cm
    qint16 airTemp = 0; // field 14, °C
    qint16 waterTemp = 0; // field 15, °C
    quint8 weightError = 0;
    quint8 depthError = 0;
    quint8 lengthError = 0;
    quint8 airError = 0;
    quint8 waterError = 0;
};

// Reads the numeric fields of a split catch record (kCatchFields views).
CatchNumbers ReadCatchNumbers(const QStringView* fields);

// Column header (line 0) and rule line (line 1) of the catch lists.
QString CatchHeaderLine();
QString CatchRuleLine();
