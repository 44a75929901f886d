#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "gui/ui/AboutDlg.h"
#include "gui/ui/Beep.h"
#include "gui/ui/FileDialogService.h"
#include "gui/ui/HyperLink.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/UtilityClass.h"
#include "support/TestSupport.h"
#include "support/gui/ScriptedFileDialogs.h"
#include "UiTestHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Sends a pointer move to the widget at point (its own coordinates).
void MoveMouse(QWidget& widget, QPoint point)
{
    QMouseEvent move(QEvent::MouseMove, point, widget.mapToGlobal(point), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void ClickAt(QWidget& widget, QPoint point)
{
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, widget.mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
}

COLORREF TextColourOf(const QWidget& widget)
{
    return ToColorRef(widget.palette().color(QPalette::WindowText));
}

// Fakes the desktop's open for one scope.
class FakeDesktop {
public:
    explicit FakeDesktop(bool opens)
    {
        SetShellOpenHook([this, opens](const std::string& target) {
            opened.push_back(target);
            return opens;
        });
        SetBeepHook([this](unsigned type) { beeps.push_back(type); });
    }
    ~FakeDesktop()
    {
        SetShellOpenHook(nullptr);
        SetBeepHook(nullptr);
    }
    std::vector<std::string> opened;
    std::vector<unsigned> beeps;
};

// Takes the desktop's part for the addresses of a scheme.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QString& scheme) : m_scheme(scheme)
    {
        QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(m_scheme); }
    Q_INVOKABLE void Open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }
    std::vector<std::string> opened;

private:
    QString m_scheme;
};

}  // namespace

TEST(ShellOpen, AddressesOfEverySchemeGoToTheirProgram)
{
    UrlCatcher mail("mailto");
    UrlCatcher web("https");
    EXPECT_TRUE(ShellOpen("mailto:media@example.org?subject=Media%20code"));
    EXPECT_TRUE(ShellOpen("https://example.org/forum"));
    EXPECT_EQ(mail.opened, std::vector<std::string>{"mailto:media@example.org?subject=Media code"});
    EXPECT_EQ(web.opened, std::vector<std::string>{"https://example.org/forum"});
    TempDir dir;
    EXPECT_FALSE(ShellOpen(dir.File("missing page.htm")));  // a file that is not there
}

TEST(HyperLink, ShowsItsAddressAndTakesItsColourFromThePointer)
{
    FakeDesktop desktop(true);
    CHyperLink link("", "https://example.org/forum");
    EXPECT_EQ(link.text().toStdString(), "https://example.org/forum");
    EXPECT_EQ(link.toolTip().toStdString(), "https://example.org/forum");
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(TextColourOf(link), 0xEE0000u);

    CHyperLink named("Forum", "", nullptr);
    EXPECT_EQ(named.GetURL(), "Forum");  // the text stands for the address

    link.show();
    MoveMouse(link, QPoint(1, 1));
    EXPECT_TRUE(link.IsOver());
    EXPECT_EQ(TextColourOf(link), 0x0064FFu);
    MoveMouse(link, QPoint(2, 2));  // still over
    EXPECT_EQ(TextColourOf(link), 0x0064FFu);
    MoveMouse(link, QPoint(link.width() + 5, 1));  // left the link
    EXPECT_FALSE(link.IsOver());
    EXPECT_EQ(TextColourOf(link), 0xEE0000u);

    ClickAt(link, QPoint(1, 1));
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://example.org/forum"});
    EXPECT_TRUE(link.GetVisited());
    MoveMouse(link, QPoint(link.width() + 5, 1));
    EXPECT_EQ(TextColourOf(link), 0x8B1A55u);
    EXPECT_TRUE(desktop.beeps.empty());
}

TEST(HyperLink, AnAddressThatDoesNotOpenBeepsAndSaysWhy)
{
    ScriptedPrompt prompt;
    FakeDesktop desktop(false);
    TempDir dir;
    CHyperLink web("Forum", "https://example.org/");
    CHyperLink page("Help", dir.File("missing.htm"));
    EXPECT_EQ(web.GotoURL(), kOpenNoAssociation);
    EXPECT_EQ(page.GotoURL(), kOpenFileNotFound);
    EXPECT_FALSE(web.GetVisited());
    EXPECT_EQ(desktop.beeps, (std::vector<unsigned>{MB_ICONEXCLAMATION, MB_ICONEXCLAMATION}));
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, HyperLinkErrorText(31));
    EXPECT_EQ(prompt.asked[1].text, "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_EQ(prompt.asked[0].type & MB_ICON_MASK, static_cast<unsigned>(MB_ICONEXCLAMATION));
}

TEST(AboutBox, EndsAndOpensAsItsButtonsSay)
{
    FakeDesktop desktop(true);
    struct Case {
        int button;  // 0: Escape
        int result;
    };
    for (const Case c :
         {Case{IDOK, 0}, Case{CAboutDlg::IDC_CHECKUPDATE, CAboutDlg::kCheckForUpdate}, Case{0, IDCANCEL}}) {
        std::vector<int> shown;
        ScopedModalHook hook([&](CDialog& dlg) {
            shown.push_back(dlg.TemplateId());
            if (dlg.TemplateId() == CCredits::IDD) {
                EXPECT_EQ(dlg.windowTitle().toStdString(), "Quenza Credits");
                return 0;
            }
            EXPECT_EQ(dlg.GetDlgItemText(CAboutDlg::IDC_PRODUCTNAME), "Quenzario Vantor");
            EXPECT_EQ(dlg.GetDlgItemText(CAboutDlg::IDC_VERSION), Format("Version %.3f", GetProgramVersionNumber()));
            // The links read as names, not as the paths they open.
            for (const auto& [id, page] : {std::pair{CAboutDlg::IDC_WEBSITE, "introduction.htm"},
                                           std::pair{CAboutDlg::IDC_SUPPORT, "support.htm"}}) {
                const CHyperLink& link = *dlg.Item<CHyperLink>(id);
                EXPECT_EQ(link.GetURL(), HelpFolder() + page);
                EXPECT_EQ(link.text().toStdString().find('/'), std::string::npos) << link.text().toStdString();
                EXPECT_EQ(link.toolTip().toStdString(), HelpFolder() + page);
            }
            dlg.Item<QAbstractButton>(CAboutDlg::IDC_CREDITS)->click();  // the credits, and the box stays
            EXPECT_EQ(dlg.ModalResult(), -1);
            dlg.Item<QAbstractButton>(CAboutDlg::IDC_BLURAY)->click();
            if (c.button == 0)
                PressKey(dlg, Qt::Key_Escape);
            else
                dlg.Item<QAbstractButton>(c.button)->click();
            return dlg.ModalResult();
        });
        CAboutDlg about;
        EXPECT_EQ(about.DoModal(), c.result) << c.button;
        EXPECT_EQ(shown, (std::vector<int>{CAboutDlg::IDD, CCredits::IDD}));
        EXPECT_EQ(desktop.opened.back(), CAboutDlg::AddressOf(CAboutDlg::IDC_BLURAY));
    }
    for (const int id : {CAboutDlg::IDC_DVDRWALLIANCE, CAboutDlg::IDC_DVDFORUM, CAboutDlg::IDC_HDDVD})
        EXPECT_EQ(CAboutDlg::AddressOf(id).rfind("http", 0), 0u) << id;
    EXPECT_TRUE(ReadFileText(std::string(QUENZA_SOURCE_DIR) + "/resources/help/support.htm").size() > 0);
}

TEST(HelpDialog, SevenLinksInOrderAndTheLocalHelp)
{
    ScopedModalHook hook([](CDialog& dlg) {
        std::vector<std::string> names;
        for (const int id : CHelp::kLinkIds) {
            auto* link = dlg.Item<CHyperLink>(id);
            EXPECT_EQ(link->toolTip().toStdString().rfind("https://", 0), 0u) << id;
            names.push_back(link->text().toStdString());
        }
        EXPECT_EQ(names.size(), 7u);
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
        dlg.Item<QAbstractButton>(IDOK)->click();
        return dlg.ModalResult();
    });
    CHelp help;
    EXPECT_EQ(help.windowTitle().toStdString(), "Get Help");
    EXPECT_EQ(help.DoModal(), CHelp::kLocalHelp);
}

TEST(FolderPicker, TheChosenFolderOrNothing)
{
    ScriptedFileDialogs dialogs;
    dialogs.AnswerFolder(std::string("/home/u/discs"));
    dialogs.AnswerFolder(std::nullopt);
    CUtilityClass utility;
    std::string path = "left over";
    utility.BrowseForFolder(nullptr, "Please choose the start folder", "", path);
    EXPECT_EQ(path, "/home/u/discs");
    EXPECT_EQ(dialogs.requests.at(0).title, "Please choose the start folder");
    utility.BrowseForFolder(nullptr, "Please choose the start folder", "", path);
    EXPECT_EQ(path, "");
}

TEST(FolderPicker, QtsDialogChoosesFoldersOnly)
{
    TempDir dir;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    bool dirsOnly = false;
    bool readOnly = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        mode = dialog->fileMode();
        dirsOnly = dialog->testOption(QFileDialog::ShowDirsOnly);
        readOnly = dialog->testOption(QFileDialog::ReadOnly);
        dialog->reject();
    });
    FileDialogRequest request;
    request.title = "Pick";
    request.folder = dir.Path();
    EXPECT_FALSE(GetFileDialogService().BrowseForFolder(request));
    EXPECT_EQ(mode, QFileDialog::Directory);
    EXPECT_TRUE(dirsOnly);
    EXPECT_TRUE(readOnly);
}

#include "AboutHelpTest.moc"
