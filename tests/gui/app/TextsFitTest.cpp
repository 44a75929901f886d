#include "MainWindowRig.h"
#include "core/app/TestPageControls.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/graphs/ComparePIPO.h"
#include "gui/graphs/IBGGraph.h"
#include "gui/pipo/SetLogicalBlockAddress.h"
#include "gui/tools/testpage/TestResultsList.h"
#include "gui/tools/settings/Settings.h"
#include "gui/ui/ButtonST.h"
#include "core/tools/iso/DiscCompare.h"
#include "core/tools/settings/SettingsValues.h"
#include "support/SavedScans.h"
#include "support/WriteGraphFixture.h"
#include "support/gui/ScopedModalHook.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <functional>
#include <string>

// Texts of the windows measured at their controls' fonts (the fonts the
// README's set-up installs) against the room their controls give them.

namespace {

QString Plain(QString text)
{
    return text.remove('&');
}

// The text's width and the room for it, by the kind of control.
struct Fit {
    int needs = 0;
    int has = 0;
};

Fit FitOf(QWidget& control, const QString& text)
{
    const QFontMetrics metrics = control.fontMetrics();
    const int needs = metrics.horizontalAdvance(Plain(text));
    if (auto* label = qobject_cast<QLabel*>(&control))
        return {needs, label->contentsRect().width() - 2 * label->margin()};
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                                           : 0;
        const QMargins margins = edit->textMargins();
        return {needs, edit->width() - 2 * frame - 4 - margins.left() - margins.right()};  // 2 blanks each side
    }
    if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.frame = true;
        return {
            needs,
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width()};
    }
    if (auto* list = qobject_cast<QListView*>(&control)) {
        // An item's text has the view's margin on each side.
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        return {needs, list->viewport()->width() - 2 * margin};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        if (button->isCheckable() && qobject_cast<QPushButton*>(button) == nullptr) {  // a radio or check box
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
            return {needs, contents.width()};
        }
        // A drawn button wraps its caption: every line, and the lines' height, fit;
        // an icon beside it takes its room.
        QRect room = button->rect().adjusted(1, 1, -1, -1);
        if (auto* drawn = qobject_cast<CButtonST*>(button); drawn && drawn->HasIcon())
            room.setLeft(room.left() + drawn->Icon(0).width() + drawn->Look().ImageOrigin().x);
        const QRect wrapped = metrics.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, Plain(text));
        return {std::max(wrapped.width(), room.width() * wrapped.height() / std::max(room.height(), 1)), room.width()};
    }
    ADD_FAILURE() << "no measure for " << control.metaObject()->className();
    return {};
}

void ExpectFits(QWidget* control, const QString& text, const std::string& what)
{
    ASSERT_NE(control, nullptr) << what;
    const Fit fit = FitOf(*control, text);
    EXPECT_LE(fit.needs, fit.has) << what << ": '" << text.toStdString() << "'";
}

void ExpectOwnTextFits(CDialog& window, int id, const std::string& what)
{
    QWidget* control = window.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << what;
    ExpectFits(control, QString::fromStdString(window.GetDlgItemText(id)), what);
}

// The main window on the HD DVD drive, whose names are the longest.
struct HdDvdRig : MainWindowRig {
    HdDvdRig() : MainWindowRig(Presets{{"toshiba", "hddvd-rom"}}) { Start(); }

    // Runs `look` on the modal window `command` opens, then closes it.
    void LookAtWindow(int command, const std::function<void(CDialog&)>& look)
    {
        bool opened = false;
        ScopedModalHook hook([&](CDialog& window) {
            opened = true;
            look(window);
            return 1;
        });
        dialog->SendCommand(command);
        Settle();
        EXPECT_TRUE(opened) << command;
    }
};

}  // namespace

TEST(TextsFit, TheMediaWindowShowsTheWholeDriveLine)
{
    HdDvdRig rig;
    rig.LookAtWindow(IDC_MEDIAINFO, [](CDialog& window) {
        auto* text = window.findChild<QPlainTextEdit*>();
        ASSERT_NE(text, nullptr);
        const QString line = text->toPlainText().split('\n').value(1).trimmed();
        EXPECT_TRUE(line.endsWith("TOSHIBA DVD-RAM SD-R9012 (emu0)")) << line.toStdString();
        // The text's room: the box less its frame, the scroll bar and the document's margins.
        const int room = text->contentsRect().width() - text->verticalScrollBar()->sizeHint().width()
            - 2 * static_cast<int>(text->document()->documentMargin());
        EXPECT_LE(text->fontMetrics().horizontalAdvance(text->toPlainText().split('\n').value(1)), room);
    });
}

TEST(TextsFit, TheSpeedPagesLabelsListsAndTheHdDvdTypeField)
{
    HdDvdRig rig;
    CQuenzaDlg& dialog = *rig.dialog;
    dialog.SendCommand(IDC_SPEEDTEST);
    rig.Settle();
    ASSERT_EQ(rig.Text(testpage::kFieldMediaType), "HD DVD-ROM");
    ExpectOwnTextFits(dialog, testpage::kFieldMediaType, "media type");
    for (int label : {testpage::kLabelAverageDataRate, testpage::kLabelLayerTrackPath, testpage::kLabelElapsedTime})
        ExpectOwnTextFits(dialog, label, "result label");
    for (int radio : {testpage::kRequestClv, testpage::kRequestCav})
        ExpectOwnTextFits(dialog, radio, "rotation");
    ExpectOwnTextFits(dialog, testpage::kPreSpinLabel, "pre-spin label");
    for (int list : {testpage::kPreSpinList, testpage::kSpeedList}) {
        auto* combo = dialog.Item<QComboBox>(list);
        ASSERT_NE(combo, nullptr);
        ASSERT_GT(combo->count(), 1);
        for (int i = 0; i < combo->count(); ++i)
            ExpectFits(combo, combo->itemText(i), "list " + std::to_string(list));
    }
}

TEST(TextsFit, TheScanWindowsDriveLabelAndHdDvdType)
{
    HdDvdRig rig;
    rig.LookAtWindow(IDC_PIPO, [](CDialog& window) {
        EXPECT_EQ(window.GetDlgItemText(IDC_PIPO_SCAN_BUTTON), "Scan Drive 1");
        ExpectOwnTextFits(window, IDC_PIPO_SCAN_BUTTON, "drive label");
        ExpectOwnTextFits(window, IDC_PIPO_STATUS_BUTTON, "status label");
        EXPECT_EQ(window.GetDlgItemText(IDC_PIPO_MEDIA_NAME), "HD DVD-ROM");
        ExpectOwnTextFits(window, IDC_PIPO_MEDIA_NAME, "media name");
        for (const char* name : {"HD DVD-ROM", "DVD+RW DL", "DVD+R/RW"}) {
            ExpectFits(window.GetDlgItem(IDC_PIPO_MEDIA_NAME), name, "media name");
            ExpectFits(window.GetDlgItem(IDC_PIPO_BOOK_TYPE), name, "book type");
        }
    });
}

TEST(TextsFit, TheRangeDialogsLabels)
{
    CSetLogicalBlockAddress range;
    int labels = 0;
    for (QLabel* label : range.findChildren<QLabel*>()) {
        if (label->wordWrap() || label->text().isEmpty())
            continue;
        ++labels;
        ExpectFits(label, label->text(), "range label");
    }
    EXPECT_GE(labels, 7);
}

TEST(TextsFit, TheCompareWindowsDriveFields)
{
    TempDir dir;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    // What the scan window shows: identity (vendor, product) and firmware.
    const std::string drives[] = {"TOSHIBA DVD-RAM SD-R9012 1012", "QNZEMU  DVD-RW QDW-2040S 1.00",
                                  "HL-DT-ST DVDRAM GH24NSD1 LG00"};
    SavedScanSlots scans(dir.File("one.qnzx"), MakeScan(300, 25, 4, drives[0]), dir.File("two.qnzx"),
                         MakeScan(200, 150, 7, drives[1]));
    CComparePIPO window(scans);
    RunModalAnswered(window);
    for (std::size_t slot = 0; slot < 2; ++slot) {
        const int field = kCompareScanFields[slot].drive;
        EXPECT_EQ(window.GetDlgItemText(field), drives[slot]);
        for (const std::string& drive : drives)
            ExpectFits(window.GetDlgItem(field), QString::fromStdString(drive), "drive field");
    }
}

TEST(TextsFit, TheGraphViewersRightColumn)
{
    TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    ScopedProfile profile;
    ScriptedPrompt prompt;
    for (const WriteGraphFixture& fixture :
         {WriteGraphFixture::Dvd(300), WriteGraphFixture::Medium("BD-R DL", 24438784, 12219392, 24438784),
          WriteGraphFixture::VerifyOnly()}) {
        const std::string path = dir.File("burn.ibg");
        WriteFileText(path, fixture.Text());
        CIBGGraph viewer;
        viewer.m_strFileName = path;
        RunModalAnswered(viewer, 0);
        int checked = 0;
        for (QWidget* control : viewer.findChildren<QWidget*>()) {
            if (control->x() < 500 || !control->isVisibleTo(&viewer))
                continue;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(control))
                text = label->text();
            else if (auto* edit = qobject_cast<QLineEdit*>(control))
                text = edit->text();
            if (text.isEmpty())
                continue;
            ++checked;
            ExpectFits(control, text, "viewer");
        }
        EXPECT_GT(checked, 20);
    }
}

TEST(TextsFit, TheSettingsColourButtonsBesideTheirSwatches)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    int buttons = 0;
    ScopedModalHook hook([&](CDialog& window) {
        window.show();
        for (const SettingsColourRow& row : SettingsColours()) {
            ++buttons;
            ExpectOwnTextFits(window, row.id, row.entry);
        }
        window.hide();
        return IDCANCEL;
    });
    CSettings settings;
    settings.DoModal();
    EXPECT_GT(buttons, 10);
}

TEST(TextsFit, TheIsoPagesDifferenceLinesAndADvdRamsMediaId)
{
    MainWindowRig rig(MainWindowRig::Presets{{"dvd-writer", "dvd-ram"}});
    rig.Start();
    CQuenzaDlg& dialog = *rig.dialog;
    ASSERT_FALSE(rig.Text(IDC_MEDIAID).empty());
    ExpectOwnTextFits(dialog, IDC_MEDIAID, "media ID");
    dialog.SendCommand(IDC_COMPARE);
    rig.Settle();
    ExpectOwnTextFits(dialog, IDC_MEDIAID, "media ID on the ISO page");
    auto* results = dialog.Item<TestResultsList>(testpage::kResults);
    ASSERT_NE(results, nullptr);
    ASSERT_TRUE(results->isVisibleTo(&dialog));
    // The longest lines a compare of a dual-layer disc lists.
    const QStringList lines = {QString::fromStdString(DifferenceLine(0x3FBFFF, 2047, 0xFF, 0xFF)),
                               "LBA=3FBFF0h Blocks=16 Disc=unreadable", "Length ISO=8547991552 Disc=8547991552 bytes",
                               "17179869184 differing bytes in all"};
    for (const QString& line : lines)
        dialog.m_TestPage.AddListLine(line.toStdString());
    rig.Settle();
    ASSERT_GE(results->count(), lines.size());
    for (const QString& line : lines)
        ExpectFits(results, line, "difference line");
    EXPECT_GE(QFontInfo(results->font()).pixelSize(), 10);
}
