// The print entries of the windows: each gathers what its window shows and
// hands it to the printouts.
#include "reports/Printouts.h"
#include "ui/AppState.h"
#include "ui/FilteredListModel.h"
#include "ui/LogListModel.h"
#include "ui/TabListView.h"
#include "ui/frmAddKosten.h"
#include "ui/frmFangUebersicht.h"
#include "ui/frmHaupt.h"

#include <QLabel>
#include <QPushButton>

void frmHaupt::PrintFront()
{
    // The three buttons show their figure behind a caption of their own,
    // which the page puts in its own first column.
    FrontValues v;
    v.fishingTime = cmdZeit->text().mid(11);
    v.catches = cmdFangÜbersicht->text().mid(18);
    v.costs = cmdKostenÜbersicht->text().mid(13);
    v.timePerFish = labZeitProFisch->text();
    v.averageWeight = labDurchschnittsGewicht->text();
    v.totalWeight = labGesamtGewicht->text();
    v.lightestFish = labLeichtesterFisch->text();
    v.heaviestFish = labSchwersterFisch->text();
    v.shortestFish = labKleinsterFisch->text();
    v.longestFish = labLängsterFisch->text();
    v.minWaterTemp = labMinTempWasser->text();
    v.maxWaterTemp = labMaxTempWasser->text();
    v.minAirTemp = labMinTempLuft->text();
    v.maxAirTemp = labMaxTempLuft->text();
    v.averageDepth = labAngelTiefe->text();
    ::PrintFront(m_app.env, v, lstFänge->count());
}

void frmHaupt::mnuPrintEmptyTable_Click()
{
    PrintEmptyTable(m_app.env);
}

void frmFangÜbersicht::cmdPrint_Click()
{
    const QStringList all = allModel()->lines();
    PrintCatchList(m_app.env, all, filterMode() ? filterModel()->lines() : all);
}

void frmAddKosten::cmdPrint_Click()
{
    const QStringList all = allModel()->lines();
    PrintCostList(m_app.env, all, filterMode() ? filterModel()->lines() : all);
}
