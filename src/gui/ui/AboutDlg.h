#pragma once

#include "gui/ui/Dialog.h"
#include "gui/ui/ThemeHelperST.h"

#include <array>
#include <string>

class CHyperLink;
class CXPStyleButtonST;

// The About box: the product's name, links to its pages, four picture
// buttons that open the web sites of the optical disc format bodies, the
// credits and the update check. Ends with 0 for "&OK", 1 for "&Check for
// program update" (the owner then checks for an update) and IDCANCEL for
// Escape; "&Credits" shows the credits.
class CAboutDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 100;
    static constexpr int IDC_CREDITS = 2;
    static constexpr int IDC_CHECKUPDATE = 1092;
    static constexpr int IDC_PRODUCTNAME = 1128;
    static constexpr int IDC_VERSION = 1127;
    static constexpr int IDC_DVDRWALLIANCE = 1129;
    static constexpr int IDC_DVDFORUM = 1130;
    static constexpr int IDC_HDDVD = 1131;
    static constexpr int IDC_BLURAY = 1132;
    static constexpr int IDC_WEBSITE = 1098;
    static constexpr int IDC_SUPPORT = 1102;
    static constexpr int kCheckForUpdate = 1;

    explicit CAboutDlg(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override { EndDialog(0); }
    void reject() override { OnCancel(); }

    // The web site each picture button opens.
    static std::string AddressOf(int buttonId);

private:
    void OnCredits();
    void OnPictureButton(int id);

    CThemeHelperST m_ThemeHelper;
    CXPStyleButtonST* m_pCredits;
    CXPStyleButtonST* m_pOK;
    CXPStyleButtonST* m_pCheckUpdate;
    std::array<CXPStyleButtonST*, 4> m_pPictures{};
    CHyperLink* m_pWebSite;
    CHyperLink* m_pSupport;
};

// The thanks.
class CCredits : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 170;
    explicit CCredits(QWidget* parent = nullptr);
    bool OnInitDialog() override;

private:
    CThemeHelperST m_ThemeHelper;
    CXPStyleButtonST* m_pOK;
};

// "Get Help": the local help pages or a list of web forums and information
// sites. Ends with 1 for "Local Help File" (the owner opens the help page of
// what it shows) and IDCANCEL otherwise.
class CHelp : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 260;
    static constexpr int kLocalHelp = 1;
    static constexpr std::array<int, 7> kLinkIds{1446, 1445, 1103, 1102, 1443, 1352, 1444};
    explicit CHelp(QWidget* parent = nullptr);
    bool OnInitDialog() override;
};
