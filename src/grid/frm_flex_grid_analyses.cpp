// The grid window's pivot analyses: the window is their host, with its round
// list, its prompter and its workbook window.
#include "grid/frm_flex_grid.h"

#include "analysis/core/pivot_analysis.h"
#include "analysis/frm_workbooks.h"
#include "analysis/qt_analysis_dialogs.h"
#include "grid/core/current_database.h"

namespace qv::grid {

void frmFlexGrid::MarketsAnalysis()
{
    runAnalysis(analysis::AnalysisKind::Markets);
}

void frmFlexGrid::BiddersAnalysis()
{
    runAnalysis(analysis::AnalysisKind::Bidders);
}

void frmFlexGrid::RoundsAnalysis()
{
    runAnalysis(analysis::AnalysisKind::Rounds);
}

void frmFlexGrid::runAnalysis(analysis::AnalysisKind kind)
{
    analysis::AnalysisHost host{currentDatabase, analysis::analysisDialogs(), prompter_,
                                [this]() -> analysis::SpreadsheetApplication& {
                                    if (workbookWindow == nullptr)
                                        workbookWindow = new analysis::frmWorkbooks(prompter_);
                                    return workbookWindow->application();
                                }};
    analysis::runPivotAnalysis(kind, host);
}

} // namespace qv::grid
