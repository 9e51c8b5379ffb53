#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the updater reads from the publisher's version file and shows while
// it downloads. The version file holds two items separated by a line break
// or a comma; item 1 is the offered version as the whole number MMmm00rr
// (major, minor, "00", revision, two digits each: 1.0.0.3 is 01000003).

// The installed version in the same form: 1.0.0.2 gives 1000002.
qint64 installedVersionNumber(int major, int minor, int revision);
// The installed version as the update question shows it: the numbers
// without leading zeros and a "0" between minor and revision (1.0.0.2 gives
// "1002").
QString installedVersionShown(int major, int minor, int revision);

struct VersionFileItems {
    QString item1;
    QString item2;
};
// Splits the file's Windows-1252 text into its first two items. Blanks
// around an item and double quotes around it are not part of it.
VersionFileItems readVersionFile(const QByteArray& bytes);

// Item 1 as a whole number; nothing for anything else (an HTML error page,
// an empty file, a sign, a fraction, more digits than a number holds).
std::optional<qint64> versionNumber(const QString& item);

enum class VersionVerdict { Newer, NotNewer, Unreadable };
struct VersionCheck {
    VersionVerdict verdict = VersionVerdict::Unreadable;
    QString offered; // item 1 as read
};
// Compares the offered version with the installed one as whole numbers.
VersionCheck checkVersionFile(const QByteArray& bytes, int major, int minor, int revision);

// After its first line the version file names the files of its release,
// one line each: "<name> <size in bytes> <SHA-256 in lowercase hex>", e.g.
// "Setup.exe 123456 9f86d0…". The signature of an installer file only says
// that the publisher signed it once; this line, signed with the version file,
// says it belongs to the offered version. Older programs read only the
// first line.
struct ReleaseFile {
    qint64 size = 0;
    QByteArray sha256; // 64 lowercase hex digits
};
// The line for the file called name; nothing when there is none, when it is
// not in the form above, or when the name has more than one line.
std::optional<ReleaseFile> releaseFile(const QByteArray& versionFile, const QString& name);
// True when the file at path has exactly the size and SHA-256 of its line.
bool matchesRelease(const QString& path, const ReleaseFile& expected);

// The question asked before a newer version is downloaded.
QString newerVersionQuestion(const QString& installedShown, const QString& offered);

// Whole kilobytes (bytes / 1024, fraction cut off) in the pattern
// "###,000": at least three digits, thousands grouped with ".".
QString kiloBytesText(qint64 bytes);
// "500 von 1.000 KiloBytes".
QString progressText(qint64 received, qint64 total);
// The progress bar's percentage: value clamped to minimum..maximum, then
// the integer part of value / maximum * 100 + 0.5; 100 when maximum is not
// above 0.
int progressPercent(qint64 value, qint64 minimum, qint64 maximum);
