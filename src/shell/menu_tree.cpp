#include "shell/menu_tree.h"

#include <iterator>

namespace qv::shell {

namespace {
constexpr bool onTable = true; // a table command: off while the round summary is active
constexpr bool always = false;
} // namespace

const MenuItem menuTree[] = {
    {1, "mnuFile", "&File", nullptr, always},
    {2, "mnuFileNew", "&New", nullptr, always},
    {2, "mnuFileBar1", "-", nullptr, always},
    {2, "mnuFileImport", "&Import...", nullptr, always},
    {2, "mnuFileAutoImport", "&Auto Import", nullptr, always},
    {2, "mnuFileExport", "&Export...", "DBSaveAs", onTable},
    {2, "mnuFileBar3", "-", nullptr, always},
    {2, "mnuFilePrintSetup", "Print &Setup...", nullptr, onTable},
    {2, "mnuFilePrintPreview", "Print Pre&view", nullptr, onTable},
    {2, "mnuFilePrint", "&Print...", "PrintGrid", onTable},
    {2, "mnuFileBar4", "-", nullptr, always},
    {2, "mnuFileExit", "E&xit", nullptr, always},
    {1, "mnuView", "&View", nullptr, always},
    {2, "mnuViewToolbar", "&Toolbar", nullptr, always},
    {2, "mnuViewStatusBar", "Status &Bar", nullptr, always},
    {2, "mnuViewSummary", "Summary...", nullptr, onTable},
    {2, "mnuViewStandings", "Standings...", nullptr, always},
    {1, "mnuTools", "&Tools", nullptr, always},
    {2, "mnuToolsAnalysis", "&Pivot Table Wizard", nullptr, onTable},
    {3, "mnuToolsAnalysisMarkets", "&Markets...", "MarketsAnalysis", onTable},
    {3, "mnuToolsAnalysisRounds", "&Rounds...", "RoundsAnalysis", onTable},
    {3, "mnuToolsAnalysisBidders", "&Bidders...", "BiddersAnalysis", onTable},
    {2, "mnuToolsExcel", "Export Table To Excel", nullptr, onTable},
    {2, "mnuToolsBar1", "-", nullptr, always},
    {2, "mnuToolsSortTable", "&Sort Table...", "TableSort", onTable},
    {2, "mnuToolsFilterTable", "&Filter Table...", "TableFilt", onTable},
    {2, "mnuToolsResetTable", "&Reset Table", "TableReset", onTable},
    {2, "mnuToolsBar2", "-", nullptr, always},
    {2, "mnuToolsTableWizard", "&Table Wizard...", "TableWiz", onTable},
    {2, "mnuToolsSQLCommandLine", "S&QL Query Builder...", nullptr, onTable},
    {2, "mnuToolsDropTable", "&Drop Table", "DropTable", onTable},
    {1, "mnuWindow", "&Window", nullptr, always},
    {2, "mnuWindowNewWindow", "&New Window", nullptr, always},
    {2, "mnuWindowBar1", "-", nullptr, always},
    {2, "mnuWindowFreeze", "&Freeze Columns", "FreezeCols", onTable},
    {2, "mnuWindowUnfreeze", "&Unfreeze Columns", "UnfreezeCols", onTable},
    {2, "mnuWindowBar2", "-", nullptr, always},
    {2, "mnuWindowCascade", "&Cascade", nullptr, always},
    {2, "mnuWindowTileHorizontal", "Tile &Horizontal", nullptr, always},
    {2, "mnuWindowTileVertical", "Tile &Vertical", nullptr, always},
    {2, "mnuWindowArrangeIcons", "&Arrange Icons", nullptr, always},
    {1, "mnuHelp", "&Help", nullptr, always},
    {2, "mnuHelpContents", "&Contents", nullptr, always},
    {2, "mnuHelpSearch", "&Search For Help On...", nullptr, always},
    {2, "mnuHelpBar1", "-", nullptr, always},
    {2, "mnuHelpAbout", "&About Quorvane...", nullptr, always},
    {1, "mnuComp", "Compute", nullptr, always},
    {2, "mnuCompSum", "Sum", "ComputeSelection", onTable},
    {2, "mnuCompAverage", "Average", "ComputeSelection", onTable},
    {2, "mnuCompCount", "Count", "ComputeSelection", onTable},
    {1, "mnuPBreak", "Page Breaks", nullptr, always},
    {2, "mnuPBreakSetRow", "Set Row Page Break", "PBreak_SetRow", onTable},
    {2, "mnuPBreakDelRow", "Delete Row Page Break", "PBreak_DelRow", onTable},
    {2, "mnuPBreak_Line1", "-", nullptr, always},
    {2, "mnuPBreakSetCol", "Set Column Page Break", "PBreak_SetCol", onTable},
    {2, "mnuPBreakDelCol", "Delete Column Page Break", "PBreak_DelCol", onTable},
    {2, "mnuPBreak_Line2", "-", nullptr, always},
    {2, "mnuPBreakReset", "Reset Page Breaks", "PBreak_Remove", onTable},
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
