#pragma once

#include "calc/CatchEvaluation.h"
#include "ui/AppState.h"

#include <QWidget>

class BarChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

// The evaluations of the catch log: a list of views on the left, above
// them the year, the angler and a filter expression that narrow every
// view, and for the chosen view a bar chart with the table of its figures
// beside it (the records view: two tables). The figures come from
// CatchEvaluation; the window only shows them, prints them and saves the
// chart as a picture. Created on first use and kept for the run.
class frmAuswertung : public QWidget {
public:
    explicit frmAuswertung(AppState& app, QWidget* parent = nullptr);

    // Takes the catch list anew when it changed and shows the view again.
    void Form_Load();
    // Shows view `view` of the list.
    void showView(EvaluationView view);
    EvaluationView view() const;
    // Applies the filter box's expression.
    void txtFilter_Apply();
    // "Drucken": the current view as a page in the browser.
    void cmdPrint_Click();
    // "Als Bild speichern...": the chart as PNG or SVG, by the file's ending.
    void cmdSaveImage_Click();

    const CatchEvaluation& evaluation() const { return m_evaluation; }

    QListWidget* lstAnsicht = nullptr;
    QComboBox* cboJahr = nullptr;
    QComboBox* cboFänger = nullptr;
    QLineEdit* txtFilter = nullptr;
    QLabel* labHinweis = nullptr; // unreadable lines
    QLabel* labLeer = nullptr; // "Keine Fänge für diese Auswahl."
    BarChartView* picDiagramm = nullptr;
    QLabel* labTabelle = nullptr;
    QTableWidget* grdZahlen = nullptr;
    QLabel* labTabelle2 = nullptr;
    QTableWidget* grdRekorde = nullptr; // records per angler
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdSaveImage = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildWidgets();
    void fillChoices();
    // Shows the figures of the current view and choice.
    void showFigures();
    // Takes the place and size kept in the settings, when there are any.
    void placeWindow();
    // Keeps the place and size in the settings.
    void keepGeometry();
    QStringList choiceTexts() const;

    AppState& m_app;
    CatchEvaluation m_evaluation;
    QString m_applied; // the filter expression in effect
};
