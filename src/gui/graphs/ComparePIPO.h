#pragma once

#include "core/graphs/ScanCompare.h"
#include "gui/ui/BaseDialog.h"

#include <array>

class CGraphMergePIPO;
class CGraphMergePIPOLower;
class CMatrixStatic;

// Controls of the scan compare window.
enum ComparePIPOControl : int {
    IDC_CMP_CLOSE = 1,
    IDC_CMP_CLIPBOARD = 1061,
    IDC_CMP_SNAPSHOT = 1064,
    IDC_CMP_STATUS2 = 1138,
    IDC_CMP_STATUS1 = 1139,
    IDC_CMP_DRIVELABEL2 = 1201,
    IDC_CMP_DRIVELABEL1 = 1214,
    IDC_CMP_PIGRAPH1 = 1455,
    IDC_CMP_PIGRAPH2 = 1456,
    IDC_CMP_PIFGRAPH1 = 1457,
    IDC_CMP_PIFGRAPH2 = 1458,
    IDC_CMP_JITTER1 = 1459,
    IDC_CMP_JITTER2 = 1460,
    IDC_CMP_UPPERLINE = 1461,
    IDC_CMP_UPPERBLOCK = 1462,
    IDC_CMP_LOWERLINE = 1463,
    IDC_CMP_LOWERBLOCK = 1464,
    IDC_CMP_RATING1 = 1492,
    IDC_CMP_RATING2 = 1495,
    // The overlays, and the axis captions the window fills (top to bottom):
    // PI (left of the upper overlay), PIF (left of the lower), jitter (right
    // of the lower).
    IDC_CMP_UPPERGRAPH = 1300,
    IDC_CMP_LOWERGRAPH = 1301,
    IDC_CMP_PICAPTION = 1310,  // four ids
    IDC_CMP_PIFCAPTION = 1314,  // four ids
    IDC_CMP_JITTERCAPTION = 1318,  // four ids
};

// The text fields of one scan: type/book, MID code, status, drive.
struct CompareScanFields {
    int typeBook;
    int midCode;
    int status;
    int drive;
};
constexpr std::array<CompareScanFields, 2> kCompareScanFields = {{{1449, 1421, 1450, 1465}, {1452, 1424, 1453, 1466}}};

// The displays of one scan, and the labels its PO/PIF mode changes.
struct CompareScanDisplays {
    int piTotal, pifTotal, pifAvg, pofTotal, jitterAvg, piAvg, pifPeak, jitterPeak, piPeak, jitterInst;
    int totalLabel, peakLabel, avgLabel;  // "PIF Total" / "PO Total" ...
    int jitterAvgLabel, jitterInstLabel, jitterPeakLabel;
};
constexpr std::array<CompareScanDisplays, 2> kCompareScanDisplays = {{
    {1358, 1359, 1360, 1361, 1363, 1364, 1365, 1377, 1385, 1399, 1366, 1371, 1367, 1369, 1400, 1378},
    {1469, 1470, 1471, 1472, 1473, 1474, 1475, 1476, 1477, 1479, 1485, 1490, 1486, 1488, 1480, 1483},
}};
// Right-hand captions of the upper overlay (read speed, not drawn here) and
// the x-axis captions.
constexpr std::array<int, 4> kCompareSpeedCaptions = {1341, 1342, 1343, 1344};
constexpr std::array<int, 4> kCompareXCaptions = {1339, 1337, 1329, 1340};

// "Quenzario PIPO Compare": the two scans of the scan window side by side,
// their figures and ratings, and their series over each other. It reads the
// scans once as it opens and changes nothing in the scan window.
class CComparePIPO : public CBaseDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 277;
    explicit CComparePIPO(ScanSlotSource& scans, QWidget* parent = nullptr);
    ~CComparePIPO() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnClose() override;

    CGraphMergePIPO& UpperOverlay() const { return *m_pUpper; }
    CGraphMergePIPOLower& LowerOverlay() const { return *m_pLower; }

    int m_nUpperRadio = 0;  // 0 line, 1 block
    int m_nLowerRadio = 0;

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LayoutControls();
    void ApplyColours();
    void ShowScans();
    void ShowScan(int index, const ScanSlotView& scan);
    void SetCaptions(int firstId, const std::array<std::string, 4>& captions);
    void ToggleShow(int id, int& flag, bool upper);
    void OnRadio(bool upper);
    void EditStatus(int id);

    ScanSlotSource& m_Scans;
    std::array<ScanSlotView, 2> m_Slots;
    CGraphMergePIPO* m_pUpper = nullptr;
    CGraphMergePIPOLower* m_pLower = nullptr;
    CMatrixStatic* m_pStatus1 = nullptr;
    CMatrixStatic* m_pStatus2 = nullptr;
};
