#include "ui/frmAbout.h"

#include "app/BuildDate.h"
#include "app/Credits.h"
#include "app/Version.h"
#include "platform/ErrorLog.h"
#include "ui/AccessibleIds.h"
#include "ui/AppState.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The program's logo: a fish in a landing net's ring over water.
QPixmap paintLogo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    p.setPen(QPen(QColor(20, 60, 140), size * 0.05));
    p.setBrush(QColor(230, 240, 255));
    p.drawEllipse(ring);
    p.setPen(QPen(QColor(60, 120, 200), size * 0.03));
    for (int i = 0; i < 2; ++i) {
        QPainterPath wave;
        const qreal y = size * (0.68 + i * 0.1);
        wave.moveTo(size * 0.2, y);
        wave.cubicTo(size * 0.35, y - size * 0.05, size * 0.5, y + size * 0.05, size * 0.8, y);
        p.drawPath(wave);
    }
    QPainterPath fish;
    const qreal x = size * 0.2, y = size * 0.32, w = size * 0.6, h = size * 0.26;
    fish.moveTo(x + w, y + h / 2);
    fish.cubicTo(x + w * 0.8, y - h * 0.1, x + w * 0.35, y, x + w * 0.22, y + h * 0.38);
    fish.lineTo(x, y + h * 0.05);
    fish.lineTo(x + w * 0.06, y + h / 2);
    fish.lineTo(x, y + h * 0.95);
    fish.lineTo(x + w * 0.22, y + h * 0.62);
    fish.cubicTo(x + w * 0.35, y + h, x + w * 0.8, y + h * 1.1, x + w, y + h / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 128, 0));
    p.drawPath(fish);
    return pm;
}

} // namespace

frmAbout::frmAbout(AppState& app, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_app(app)
{
    setObjectName(u"frmAbout"_s);
    createWidgets();
    setAccessibleIdentifiers(this);
    Form_Load();
}

void frmAbout::createWidgets()
{
    setFixedSize(px(6840), px(4680));
    Image1 = new QLabel(this);
    Image1->setObjectName(u"Image1"_s);
    Image1->setGeometry(px(240), px(240), px(1440), px(1440));
    Image1->setPixmap(paintLogo(px(1440)));
    Image1->setAccessibleName(u"Logo"_s);

    int top = 240;
    auto field = [&](auto* box, const QString& name, const QString& caption, int height) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(u"lbl"_s + name.mid(3));
        label->setGeometry(px(1920), px(top + 45), px(1440), px(285));
        box->setObjectName(name);
        box->setReadOnly(true);
        box->setGeometry(px(3360), px(top), px(3240), px(height));
        label->setBuddy(box);
        top += height + 105;
        return box;
    };
    txtProgrammName = field(new QLineEdit(this), u"txtProgrammName"_s, u"Programmname:"_s, 330);
    txtVersion = field(new QLineEdit(this), u"txtVersion"_s, u"Version:"_s, 330);
    txtReleaseDate = field(new QLineEdit(this), u"txtReleaseDate"_s, u"Release:"_s, 330);
    txtCopyright = field(new QLineEdit(this), u"txtCopyright"_s, u"Copyright:"_s, 330);
    txtCoder = field(new QLineEdit(this), u"txtCoder"_s, u"Programmierer:"_s, 330);
    txtBetaTester = field(new QPlainTextEdit(this), u"txtBetaTester"_s, u"Beta-Tester:"_s, 690);
    txtBetaTester->setTabChangesFocus(true);
    txtDataFolder = field(new QLineEdit(this), u"txtDataFolder"_s, u"Datenordner:"_s, 330);

    cmdOK = new QPushButton(u"OK"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setDefault(true);
    cmdOK->setGeometry(px(5160), px(top + 60), px(1440), px(435));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

void frmAbout::Form_Load()
{
    ErrorTrap trap(m_app.env, u"Sub frmAbout.Form_Load"_s);
    trap.step([&] { setWindowTitle(u"Über das "_s + kAppTitle); });
    trap.step([&] { txtProgrammName->setText(kAppTitle); });
    trap.step([&] {
        txtVersion->setText(
            u"%1.%2.0.%3"_s.arg(Version::Major).arg(Version::Minor).arg(Version::Tweak));
    });
    trap.step([&] { txtReleaseDate->setText(ReleaseDate(m_app.env, m_app.build)); });
    trap.step([&] { txtCoder->setText(Credits::Programmer); });
    trap.step([&] { txtBetaTester->setPlainText(Credits::BetaTesters.join(u'\n')); });
    trap.step([&] { txtCopyright->setText(Credits::Copyright); });
    trap.step([&] { txtDataFolder->setText(m_app.env.programDir); });
}

void frmAbout::cmdOK_Click()
{
    close();
}
