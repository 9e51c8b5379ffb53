#include "app/Settings.h"

#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "store/RecordFile.h"

#include <limits>

namespace {

constexpr qint16 kDefaultSize = 1000;
constexpr qint16 kScreenSize = 30000; // larger than any screen: the window fills it
constexpr qint16 kMaximised = 2;
// Reading beyond the last line of the file, in the classic numbering.
constexpr int kInputPastEnd = 62;

QString settingsPath(const Env& env)
{
    return hostPath(env.programDir, QStringLiteral("settings.ini"));
}

// One blank (or the minus sign), the digits, one blank.
QString numberField(qint16 v)
{
    const QString digits = QString::number(v < 0 ? -static_cast<int>(v) : static_cast<int>(v));
    return (v < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + u' ';
}

// Reads the file field by field, by position: what a line says does not
// matter, only where it stands.
class FieldReader {
public:
    explicit FieldReader(QString text)
        : m_text(std::move(text))
    {
    }

    // Text up to the next comma or line end; the delimiter is consumed.
    QString text()
    {
        skipBlanks();
        atEndCheck();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !isDelimiter(m_text[m_pos]))
            ++m_pos;
        const QString field = m_text.mid(start, m_pos - start);
        consumeDelimiter();
        return field;
    }

    // True when nothing but blanks and line ends is left.
    bool atEnd() const
    {
        for (qsizetype i = m_pos; i < m_text.size(); ++i) {
            if (m_text[i] != u' ' && m_text[i] != u'\r' && m_text[i] != u'\n')
                return false;
        }
        return true;
    }

    // A decimal integer; it also ends at a blank. Blanks behind it and the
    // comma or line end after them are consumed.
    qint16 number()
    {
        skipBlanks();
        atEndCheck();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != u' ' && !isDelimiter(m_text[m_pos]))
            ++m_pos;
        const QString field = m_text.mid(start, m_pos - start);
        skipBlanks();
        consumeDelimiter();
        return toInt16(field);
    }

private:
    static bool isDelimiter(QChar c) { return c == u',' || c == u'\r' || c == u'\n'; }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
    }

    void atEndCheck() const
    {
        if (m_pos >= m_text.size())
            throw RuntimeError { kInputPastEnd };
    }

    void consumeDelimiter()
    {
        if (m_pos >= m_text.size())
            return;
        if (m_text[m_pos] == u',') {
            ++m_pos;
            return;
        }
        if (m_text[m_pos] == u'\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
    }

    static qint16 toInt16(const QString& field)
    {
        qsizetype i = 0;
        if (i < field.size() && (field[i] == u'-' || field[i] == u'+'))
            ++i;
        if (i == field.size())
            throw RuntimeError { Err::TypeMismatch };
        for (qsizetype k = i; k < field.size(); ++k) {
            if (field[k] < u'0' || field[k] > u'9')
                throw RuntimeError { Err::TypeMismatch };
        }
        bool ok = false;
        const qlonglong v = field.toLongLong(&ok);
        // Too many digits for any integer is the same overflow as 40000.
        if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
            throw RuntimeError { Err::Overflow };
        return static_cast<qint16>(v);
    }

    QString m_text;
    qsizetype m_pos = 0;
};

// Fills rec field after field; a failure stops the reading, so the fields
// behind it keep what they held.
void readSettings(const QString& text, SettingsRecord& rec, qint16& firstRun)
{
    FieldReader in(text);
    in.text(); // [Fangübersicht]
    rec.OverviewHeight = in.number();
    rec.OverviewWidth = in.number();
    in.text(); // [Hauptfenster]
    rec.MainHeight = in.number();
    rec.MainWidth = in.number();
    rec.MainWindowState = in.number();
    in.text(); // [Allgemein]
    firstRun = in.number();
    if (in.atEnd())
        return; // written before the evaluation window had its place kept
    in.text(); // [Auswertungen]
    rec.EvaluationLeft = in.number();
    rec.EvaluationTop = in.number();
    rec.EvaluationWidth = in.number();
    rec.EvaluationHeight = in.number();
}

QString firstStartQuestion()
{
    return QStringLiteral("Vielen Dank, dass Sie sich für dieses Programm entschieden haben. "
                          "Sie können das Programm sofort verwenden. Die Größe der Fenster ist "
                          "im Moment auf den Minimalwert eingestellt.")
        + QStringLiteral("\r\n \r\n")
        + QStringLiteral("Sollen sich die Fenster an die Bildschirmgröße automatisch anpassen?");
}

} // namespace

void ReadSettingsText(const QString& text, SettingsRecord& rec, qint16& firstRun)
{
    readSettings(text, rec, firstRun);
}

SettingsRecord DefaultSettings()
{
    SettingsRecord s;
    s.OverviewHeight = kDefaultSize;
    s.OverviewWidth = kDefaultSize;
    s.MainHeight = kDefaultSize;
    s.MainWidth = kDefaultSize;
    s.MainWindowState = 0;
    return s;
}

QByteArray SettingsFileBytes(const SettingsRecord& s, qint16 firstRun, bool firstRunField)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    text += QStringLiteral("[Fangübersicht]") + crlf;
    text += numberField(s.OverviewHeight) + crlf;
    text += numberField(s.OverviewWidth) + crlf;
    text += QStringLiteral("[Hauptfenster]") + crlf;
    text += numberField(s.MainHeight) + crlf;
    text += numberField(s.MainWidth) + crlf;
    text += numberField(s.MainWindowState) + crlf;
    text += QStringLiteral("[Allgemein]") + crlf;
    text += (firstRunField ? numberField(firstRun) : QStringLiteral("0")) + crlf;
    text += QStringLiteral("[Auswertungen]") + crlf;
    text += numberField(s.EvaluationLeft) + crlf;
    text += numberField(s.EvaluationTop) + crlf;
    text += numberField(s.EvaluationWidth) + crlf;
    text += numberField(s.EvaluationHeight) + crlf;
    return encode1252(text);
}

void LoadSettings(const Env& env, SettingsRecord& rec)
{
    ErrorTrap trap(env, QStringLiteral("Sub CheckFiles"));
    const QString path = settingsPath(env);

    trap.step([&] {
        if (!FileOps::exists(path))
            FileOps::replaceFile(path, SettingsFileBytes(DefaultSettings(), 1));
    });

    qint16 firstRun = 0;
    trap.step([&] { readSettings(decode1252(readAllBytes(path)), rec, firstRun); });
    if (firstRun != 1)
        return;

    // The question is asked once: the file says so before it is asked. The
    // answer itself reaches the file only at the program end.
    trap.step([&] { FileOps::replaceFile(path, SettingsFileBytes(DefaultSettings(), 0)); });
    trap.step([&] {
        if (!env.dialogs)
            return;
        if (env.dialogs->message(
                firstStartQuestion(), MsgIcon::Question, MsgButtons::YesNo, QString())
            == MsgResult::Yes) {
            rec.MainWindowState = kMaximised;
            rec.MainHeight = kScreenSize;
            rec.MainWidth = kScreenSize;
            rec.OverviewWidth = kScreenSize;
        }
    });
}

void SaveSettings(const Env& env, const SettingsRecord& rec)
{
    // The program ends right after this; a failure can only be logged.
    ErrorTrap trap(env, QStringLiteral("Sub EndProgram"));
    trap.step([&] { FileOps::replaceFile(settingsPath(env), SettingsFileBytes(rec, 0, false)); });
}
