#pragma once

#include "core/graphs/WriteGraphFile.h"
#include "core/graphs/WriteGraphView.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/ThemeHelperST.h"

#include <array>
#include <functional>
#include <string>

class CButtonST;
class CGraphStatic;
class CMatrixStatic;
class QLabel;
class QSlider;

// Controls of the write-graph viewer.
enum IBGGraphControl : int {
    IDC_IBG_AVERAGED = 1026,
    IDC_IBG_SHOWWRITE = 1027,
    IDC_IBG_SHOWVERIFY = 1028,
    IDC_IBG_WRITECPU = 1029,
    IDC_IBG_WRITEBUFFER = 1030,
    IDC_IBG_CLIPBOARD = 1061,
    IDC_IBG_SNAPSHOT = 1064,
    IDC_IBG_HOMEPAGE = 1097,
    IDC_IBG_BOOKTYPE = 1098,
    IDC_IBG_COMMENT1 = 1139,  // the device, or the first comment
    IDC_IBG_COMMENT2 = 1140,
    IDC_IBG_MEDIATYPE = 1394,
    IDC_IBG_RUNIMGBURN = 1495,
    IDC_IBG_LOADGRAPH = 1496,
    IDC_IBG_MEDIAID = 1502,
    IDC_IBG_CAPACITY = 1503,
    IDC_IBG_DATASECTORS = 1504,
    IDC_IBG_DATATYPE = 1505,
    IDC_IBG_BURNTIME = 1506,
    IDC_IBG_DATETIME = 1507,
    IDC_IBG_GRAPH = 1508,
    IDC_IBG_TIMELABEL = 1511,
    IDC_IBG_WRITERPM = 1513,
    IDC_IBG_SPEEDSELECTED = 1514,
    IDC_IBG_SHIFTSLIDER = 1515,
    IDC_IBG_SAVEGRAPH = 1516,
    IDC_IBG_VERIFYCPU = 1518,
    IDC_IBG_VERIFYRPM = 1519,
    IDC_IBG_GETIMGBURN = 1520,
    IDC_IBG_RUNFLAREWICK = 1521,
    IDC_IBG_GETFLAREWICK = 1522,
    IDC_IBG_SPEEDMAX = 1526,
    IDC_IBG_SPEEDSTART = 1527,
    IDC_IBG_SAMPLERATE = 1528,
    IDC_IBG_SPEEDAVG = 1532,
    IDC_IBG_SPEEDEND = 1534,
    IDC_IBG_WRITETESTMODE = 1537,
    IDC_IBG_SHIFTPOSITION = 1539,
};

// Axis labels of the viewer, top to bottom and left to right.
constexpr std::array<int, 13> kIbgSpeedLabels = {1359, 1356, 1355, 1338, 1328, 1330, 1331,
                                                 1332, 1333, 1334, 1336, 1335, 1350};
constexpr std::array<int, 5> kIbgPercentLabels = {1345, 1352, 1341, 1342, 1343};
constexpr std::array<int, 10> kIbgRpmLabels = {1360, 1358, 1357, 1353, 1344, 1346, 1347, 1349, 1348, 1351};
constexpr std::array<int, 4> kIbgXLabels = {1339, 1337, 1329, 1340};

// Where the outside burning programs keep their install folders.
constexpr const char* kImgBurnKey = "SOFTWARE\\ImgBurn\\";
constexpr const char* kFlarewickKey = "SOFTWARE\\TQL\\Flarewick\\Flarewick";
constexpr const char* kImgBurnDownloadPage = "https://www.imgburn.com/index.php?act=download";

// "Write Data Graph": shows a write-graph file (".ibg", ".mbg") on a rate
// graph in write-graph mode, its facts, two comment displays that are saved
// back into the file, curve toggles, the averaged/sampled switch, snapshots,
// and the buttons that start or fetch the outside burning programs.
class CIBGGraph : public CBaseDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 299;
    explicit CIBGGraph(QWidget* parent = nullptr);
    ~CIBGGraph() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

    // 0 when the file was shown; non-zero when it was refused or a section
    // could not be read (the reasons shown), or no file was chosen.
    int LoadGraphFile();

    void OnLoadGraph();
    void OnSaveGraph();
    void OnShowWrite();
    void OnShowVerify();
    void OnWriteCpu();
    void OnVerifyCpu();
    void OnWriteBuffer();
    void OnVerifyRpm();
    void OnWriteRpm();
    void OnAveraged();
    void OnHScroll();
    void OnRunImgBurn();
    void OnRunFlarewick();
    // Starts <folder>/<name>.exe through the desktop; says so when nothing can.
    void RunProgram(const std::string& folder, const std::string& name);
    void OnGetImgBurn();
    void OnGetFlarewick();
    void OnEditComment1();
    void OnEditComment2();

    // The file to open as the window opens (a command-line file); forgotten
    // by "&Load Graph".
    std::string m_strFileName;
    // The main window's home page; the maker's pages stand in for Flarewick's.
    std::function<void()> m_HomePage;

    CGraphStatic& Graph() const { return *m_pGraph; }
    const WriteGraphFile& File() const { return m_File; }
    const std::string& ImgBurnFolder() const { return m_strImgBurnFolder; }
    const std::string& FlarewickFolder() const { return m_strFlarewickFolder; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void LayoutControls();
    void ResetGraph();
    void ReadInstallFolders();
    void SetAxisLabels(const WriteGraphAxisLabels& labels);
    void ShowDisplays();
    void ApplyBoxes(const WriteGraphBoxes& boxes);
    WriteGraphBoxes CurrentBoxes() const;
    void EditComment(int id);
    void SetupDisplay(CMatrixStatic& display);
    int CheckOf(int id) const { return IsDlgButtonChecked(id); }

    WriteGraphFile m_File;
    WriteGraphDisplays m_Displays;
    std::string m_strVersion;
    std::string m_strImgBurnFolder;
    std::string m_strFlarewickFolder;
    bool m_bLoaded = false;  // a load ran: Save follows what it left
    CGraphStatic* m_pGraph = nullptr;
    CMatrixStatic* m_pComment1 = nullptr;
    CMatrixStatic* m_pComment2 = nullptr;
    QSlider* m_pSlider = nullptr;
    QLabel* m_pSliderLabel = nullptr;
    CThemeHelperST m_ThemeHelper;
};
