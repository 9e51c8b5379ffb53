#pragma once

#include <QWidget>

struct AppState;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Über das Uferwacht Digitales Kescherheft": name, version, release date,
// copyright, programmer, beta testers and the folder holding the data. Opened without blocking the
// other windows, destroyed when closed.
class frmAbout : public QWidget {
public:
    explicit frmAbout(AppState& app, QWidget* parent = nullptr);

    void Form_Load();
    void cmdOK_Click();

    QLabel* Image1;
    QLineEdit* txtProgrammName;
    QLineEdit* txtVersion;
    QLineEdit* txtReleaseDate;
    QLineEdit* txtCopyright;
    QLineEdit* txtCoder;
    QPlainTextEdit* txtBetaTester;
    QLineEdit* txtDataFolder;
    QPushButton* cmdOK;

private:
    void createWidgets();

    AppState& m_app;
};
