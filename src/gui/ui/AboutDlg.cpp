#include "gui/ui/AboutDlg.h"

#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/HyperLink.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr COLORREF kMagenta = 0xFF00FF;
constexpr int kLinkCursor = 142;

struct PictureButton {
    int id;
    unsigned bitmap;
    const char* name;  // shown while the bitmap has no artwork
    const char* address;
};

// clang-format off
constexpr PictureButton kPictureButtons[] = {
    {CAboutDlg::IDC_DVDRWALLIANCE, 152, "DVD+RW Alliance",           "http://www.dvdrw.com/"},
    {CAboutDlg::IDC_DVDFORUM,      151, "DVD Forum",                 "http://www.dvdforum.org/"},
    {CAboutDlg::IDC_HDDVD,         329, "HD DVD Promotion Group",    "http://www.hddvdprg.com/"},
    {CAboutDlg::IDC_BLURAY,        328, "Blu-ray Disc Association",  "https://www.blu-raydisc.com/"},
};

struct HelpLink {
    const char* name;
    const char* address;
};
constexpr HelpLink kHelpLinks[] = {
    {"CDRLabs",                     "https://www.cdrlabs.com/"},
    {"Digital Digest",              "https://www.digital-digest.com/"},
    {"Doom9's Forum",               "https://forum.doom9.org/"},
    {"ImgBurn Support Forum",       "https://forum.imgburn.com/"},
    {"MyCE",                        "https://www.myce.com/"},
    {"VideoHelp Forum",             "https://forum.videohelp.com/"},
    {"Wikipedia: Optical disc",     "https://en.wikipedia.org/wiki/Optical_disc"},
};
// clang-format on

void StyleButton(CXPStyleButtonST& button, CThemeHelperST& theme, const std::string& tooltip)
{
    button.SetThemeHelper(&theme);
    button.SetIconResources(0, BTNST_AUTO_GRAY);
    button.ShiftColor(BTNST_COLOR_BK_IN, 30);
    if (!tooltip.empty())
        button.SetTooltipText(tooltip);
}

QLabel* WrappedText(const char* text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) :
    CDialog(IDD, parent),
    m_pCredits(new CXPStyleButtonST("&Credits", this)),
    m_pOK(new CXPStyleButtonST("&OK", this)),
    m_pCheckUpdate(new CXPStyleButtonST("&Check for program update", this)),
    m_pWebSite(new CHyperLink(this)),
    m_pSupport(new CHyperLink(this))
{
    setWindowTitle("About");
    auto* name = new QLabel(this);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    name->setFont(bold);
    // The links name the pages; their addresses are the tooltips.
    m_pWebSite->setText("Quenzario help pages");
    m_pWebSite->SetURL(HelpFolder() + "introduction.htm");
    m_pSupport->setText("Getting support");
    m_pSupport->SetURL(HelpFolder() + "support.htm");
    auto* version = new QLabel(QString::fromStdString(Format("Version %.3f", GetProgramVersionNumber())), this);

    auto* pictures = new QHBoxLayout;
    for (std::size_t i = 0; i < m_pPictures.size(); ++i) {
        m_pPictures[i] = new CXPStyleButtonST(this);
        pictures->addWidget(m_pPictures[i]);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pCredits);
    buttons->addWidget(m_pCheckUpdate);
    buttons->addStretch();
    buttons->addWidget(m_pOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(m_pWebSite);
    layout->addWidget(m_pSupport);
    layout->addLayout(pictures);
    layout->addLayout(buttons);

    BindControl(IDC_PRODUCTNAME, name);
    BindControl(IDC_VERSION, version);
    BindControl(IDC_WEBSITE, m_pWebSite);
    BindControl(IDC_SUPPORT, m_pSupport);
    BindControl(IDOK, m_pOK);
    BindControl(IDC_CREDITS, m_pCredits);
    BindControl(IDC_CHECKUPDATE, m_pCheckUpdate);
    for (std::size_t i = 0; i < m_pPictures.size(); ++i) {
        const int id = kPictureButtons[i].id;
        BindControl(id, m_pPictures[i]);
        MapCommand(id, [this, id] { OnPictureButton(id); });
    }
    // The credits button has the cancel id; Escape still ends the box.
    MapCommand(IDC_CREDITS, [this] { OnCredits(); });
    MapCommand(IDC_CHECKUPDATE, [this] { EndDialog(kCheckForUpdate); });
}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_PRODUCTNAME, "Quenzario Vantor");
    ApplyTranslucency(*this);
    StyleButton(*m_pCredits, m_ThemeHelper, "My thank-you to some important people");
    StyleButton(*m_pOK, m_ThemeHelper, "Close the window");
    StyleButton(*m_pCheckUpdate, m_ThemeHelper, "Check for a program update");
    for (std::size_t i = 0; i < m_pPictures.size(); ++i) {
        CXPStyleButtonST& button = *m_pPictures[i];
        const PictureButton& picture = kPictureButtons[i];
        StyleButton(button, m_ThemeHelper, picture.address);
        button.SetBitmapResources(picture.bitmap, kMagenta, picture.bitmap, kMagenta);
        if (!button.HasBitmap())
            button.setText(picture.name);
        button.SetCursorResource(kLinkCursor);
    }
    m_pWebSite->PreSubclassWindow();
    m_pSupport->PreSubclassWindow();
    return true;
}

std::string CAboutDlg::AddressOf(int buttonId)
{
    for (const PictureButton& picture : kPictureButtons)
        if (picture.id == buttonId)
            return picture.address;
    return std::string();
}

void CAboutDlg::OnCredits()
{
    CCredits credits(this);
    credits.DoModal();
}

void CAboutDlg::OnPictureButton(int id)
{
    ShellOpen(AddressOf(id));
}

CCredits::CCredits(QWidget* parent) : CDialog(IDD, parent), m_pOK(new CXPStyleButtonST("&OK", this))
{
    setWindowTitle("Quenza Credits");
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {
             "Thanks to everyone who helped build Quenzario.",
             "Thanks to the testers who ran it on their drives and discs and told us what they saw.",
             "Thanks to the people who wrote down how the drives answer.",
             "Thanks to the supporters who kept the project going.",
             "Thanks to the makers of the tools Quenzario works beside.",
             "And thanks to you, the users, for your reports and ideas.",
         })
        layout->addWidget(WrappedText(line, this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOK);
    layout->addLayout(buttons);
    BindControl(IDOK, m_pOK);
}

bool CCredits::OnInitDialog()
{
    CDialog::OnInitDialog();
    StyleButton(*m_pOK, m_ThemeHelper, "Closes the window");
    return true;
}

CHelp::CHelp(QWidget* parent) : CDialog(IDD, parent)
{
    setWindowTitle("Get Help");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WrappedText("We understand that DVD can be quite daunting, especially for beginners.  We have "
                                  "done some of the work for you to provide the assistance you need.",
                                  this));
    layout->addWidget(WrappedText("We have reviewed many of the DVD forums and information sites.  Below are the best "
                                  "we could find.  These sites are friendly,  provide a pleasant and informative "
                                  "experience,  and provide technical excellence.",
                                  this));
    auto* featured = new QGroupBox("Featured forums and information sites", this);
    auto* links = new QVBoxLayout(featured);
    for (std::size_t i = 0; i < kLinkIds.size(); ++i) {
        auto* link = new CHyperLink(featured);
        link->setText(kHelpLinks[i].name);
        link->SetURL(kHelpLinks[i].address);
        links->addWidget(link);
        BindControl(kLinkIds[i], link);
    }
    layout->addWidget(featured);
    layout->addWidget(WrappedText("This list is looked over from time to time: a site that closes or changes its "
                                  "ways is taken off it.",
                                  this));
    layout->addWidget(WrappedText("Know a site that belongs here? Tell us on the support page.", this));
    auto* local = new QPushButton("Local Help File", this);
    auto* cancel = new QPushButton("Cancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(local);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    BindControl(IDOK, local);
    BindControl(IDCANCEL, cancel);
    MapCommand(IDOK, [this] { EndDialog(kLocalHelp); });
}

bool CHelp::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const int id : kLinkIds)
        Item<CHyperLink>(id)->PreSubclassWindow();
    return true;
}
