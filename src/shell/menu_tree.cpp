#include "shell/menu_tree.h"

#include <iterator>

namespace qv::shell {

namespace {
constexpr bool onTable = true; // a table command: off while the round summary is active
constexpr bool always = false;
constexpr GridRoutine none = GridRoutine::None;
} // namespace

const MenuItem menuTree[] = {
    {1, "mnuFile", "&File", none, always},
    {2, "mnuFileNew", "&New", none, always},
    {2, "mnuFileBar1", "-", none, always},
    {2, "mnuFileImport", "&Import...", none, always},
    {2, "mnuFileAutoImport", "&Auto Import", none, always},
    {2, "mnuFileExport", "&Export...", GridRoutine::DBSaveAs, onTable},
    {2, "mnuFileBar3", "-", none, always},
    {2, "mnuFilePrintSetup", "Print &Setup...", none, onTable},
    {2, "mnuFilePrintPreview", "Print Pre&view", none, onTable},
    {2, "mnuFilePrint", "&Print...", GridRoutine::PrintGrid, onTable},
    {2, "mnuFileBar4", "-", none, always},
    {2, "mnuFileExit", "E&xit", none, always},
    {1, "mnuView", "&View", none, always},
    {2, "mnuViewToolbar", "&Toolbar", none, always},
    {2, "mnuViewStatusBar", "Status &Bar", none, always},
    {2, "mnuViewSummary", "&Summary...", none, onTable},
    {2, "mnuViewStandings", "St&andings...", none, always},
    {1, "mnuTools", "&Tools", none, always},
    {2, "mnuToolsAnalysis", "&Pivot Table Wizard", none, onTable},
    {3, "mnuToolsAnalysisMarkets", "&Markets...", GridRoutine::MarketsAnalysis, onTable},
    {3, "mnuToolsAnalysisRounds", "&Rounds...", GridRoutine::RoundsAnalysis, onTable},
    {3, "mnuToolsAnalysisBidders", "&Bidders...", GridRoutine::BiddersAnalysis, onTable},
    {2, "mnuToolsExcel", "Export Table To Excel", none, onTable},
    {2, "mnuToolsBar1", "-", none, always},
    {2, "mnuToolsSortTable", "&Sort Table...", GridRoutine::TableSort, onTable},
    {2, "mnuToolsFilterTable", "&Filter Table...", GridRoutine::TableFilt, onTable},
    {2, "mnuToolsResetTable", "&Reset Table", GridRoutine::TableReset, onTable},
    {2, "mnuToolsBar2", "-", none, always},
    {2, "mnuToolsTableWizard", "&Table Wizard...", GridRoutine::TableWiz, onTable},
    {2, "mnuToolsSQLCommandLine", "S&QL Query Builder...", none, onTable},
    {2, "mnuToolsDropTable", "&Drop Table", GridRoutine::DropTable, onTable},
    {1, "mnuWindow", "&Window", none, always},
    {2, "mnuWindowNewWindow", "&New Window", none, always},
    {2, "mnuWindowBar1", "-", none, always},
    {2, "mnuWindowFreeze", "&Freeze Columns", GridRoutine::FreezeCols, onTable},
    {2, "mnuWindowUnfreeze", "&Unfreeze Columns", GridRoutine::UnfreezeCols, onTable},
    {2, "mnuWindowBar2", "-", none, always},
    {2, "mnuWindowCascade", "&Cascade", none, always},
    {2, "mnuWindowTileHorizontal", "Tile &Horizontal", none, always},
    {2, "mnuWindowTileVertical", "Tile &Vertical", none, always},
    {2, "mnuWindowArrangeIcons", "&Arrange Icons", none, always},
    {1, "mnuHelp", "&Help", none, always},
    {2, "mnuHelpContents", "&Contents", none, always},
    {2, "mnuHelpSearch", "&Search For Help On...", none, always},
    {2, "mnuHelpSample", "Open the Sa&mple Auction", none, always},
    {2, "mnuHelpBar1", "-", none, always},
    {2, "mnuHelpAbout", "&About Quorvane...", none, always},
    {1, "mnuComp", "Compute", none, always},
    {2, "mnuCompSum", "Sum", GridRoutine::ComputeSelection, onTable},
    {2, "mnuCompAverage", "Average", GridRoutine::ComputeSelection, onTable},
    {2, "mnuCompCount", "Count", GridRoutine::ComputeSelection, onTable},
    {1, "mnuPBreak", "Page Breaks", none, always},
    {2, "mnuPBreakSetRow", "Set Row Page Break", GridRoutine::PBreak_SetRow, onTable},
    {2, "mnuPBreakDelRow", "Delete Row Page Break", GridRoutine::PBreak_DelRow, onTable},
    {2, "mnuPBreak_Line1", "-", none, always},
    {2, "mnuPBreakSetCol", "Set Column Page Break", GridRoutine::PBreak_SetCol, onTable},
    {2, "mnuPBreakDelCol", "Delete Column Page Break", GridRoutine::PBreak_DelCol, onTable},
    {2, "mnuPBreak_Line2", "-", none, always},
    {2, "mnuPBreakReset", "Reset Page Breaks", GridRoutine::PBreak_Remove, onTable},
};
const int menuTreeSize = static_cast<int>(std::size(menuTree));

const ToolButton toolButtons[] = {
    {"New", "New", "mnuFileNew", always},
    {"Import", "Import Next Round", "mnuFileAutoImport", always},
    {nullptr, nullptr, nullptr, always},
    {"PrintPreview", "Print Preview", "mnuFilePrintPreview", onTable},
    {"Print", "Print", "mnuFilePrint", onTable},
    {nullptr, nullptr, nullptr, onTable},
    {"Sort", "Sort...", "mnuToolsSortTable", onTable},
    {"Filter", "Filter...", "mnuToolsFilterTable", onTable},
    {"Reset", "Reset Table", "mnuToolsResetTable", onTable},
    {nullptr, nullptr, nullptr, onTable},
    {"TableWizard", "Table Wizard...", "mnuToolsTableWizard", onTable},
    {"SQL", "SQL Query Builder...", "mnuToolsSQLCommandLine", onTable},
    {"DropTable", "Drop Table", "mnuToolsDropTable", onTable},
    {nullptr, nullptr, nullptr, onTable},
    {"ExcelExp", "Export Table To Excel", nullptr, onTable},
};
const int toolButtonCount = static_cast<int>(std::size(toolButtons));

} // namespace qv::shell
