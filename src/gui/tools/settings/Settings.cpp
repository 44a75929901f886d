#include "gui/tools/settings/Settings.h"

#include "core/base/AppProfile.h"
#include "core/base/UserPrompt.h"
#include "core/tools/settings/Association.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/Translucency.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/ColourChooser.h"
#include "gui/ui/FileDialogService.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QVBoxLayout>
#include <QWindow>

#include <unistd.h>

namespace {

constexpr int kSwatchSize = 12;

// The schemes as the list adds them; the list shows them sorted, which puts
// each at its scheme number.
const char* const kSchemeNames[] = {"Backlit LCD", "LCD",        "Blue Plasma", "Red LED",  "Green LED",
                                    "Yellow LED",  "Orange LED", "Purple LED",  "White LED"};

// Every picture type the skins can be read from, as the chooser's filter.
std::string SkinImagesFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << "*." + QString::fromLatin1(format).toLower();
    patterns.removeDuplicates();
    return "Image Files (" + patterns.join(' ').toStdString() + ")";
}

QImage Swatch(COLORREF colour)
{
    QImage swatch(kSwatchSize, kSwatchSize, QImage::Format_ARGB32);
    swatch.fill(ToQColor(colour));
    for (int i = 0; i < kSwatchSize; ++i)  // a dark frame shows light colours too
        for (const QPoint at : {QPoint(i, 0), QPoint(i, kSwatchSize - 1), QPoint(0, i), QPoint(kSwatchSize - 1, i)})
            swatch.setPixelColor(at, Qt::darkGray);
    return swatch;
}

std::string CurrentFolder()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? buffer : std::string();
}

}  // namespace

CSettings::CSettings(QWidget* parent) :
    CDialog(IDD, parent), m_crButtonFace(ToColorRef(QApplication::palette().color(QPalette::Button)))
{
    setWindowTitle("Settings");

    auto* customisation = new QGroupBox("Customisation", this);
    auto* customGrid = new QGridLayout(customisation);
    auto* schemes = new QComboBox(customisation);
    for (const char* name : kSchemeNames)
        schemes->addItem(name);
    schemes->model()->sort(0);
    customGrid->addWidget(new QLabel("Status display colors", customisation), 0, 0);
    customGrid->addWidget(schemes, 0, 1);
    const std::pair<const char*, const char*> pairs[][2] = {
        {{"T&ext Color", nullptr},
         {"Default Te&xt", "This sets the HEX/ASCII display data text back to the default colour"}},
        {{"&Back Color", nullptr},
         {"De&fault Back", "This sets the HEX/ASCII display data background to the default colour"}},
        {{"Load B&uttons",
          "Opens a file requester prompting for a new button template BMP (To make your own see the "
          "supplied buttons.bmp)"},
         {"Default Butto&ns", "This sets the buttons back to the internal template graphics"}},
        {{"Load Banner", "Opens a file requester prompting for a new banner graphic (see the supplied banner.bmp)"},
         {"Default Banner", "This sets the main window top banner back to the internal default graphic"}},
    };
    const int pairIds[][2] = {{IDC_TEXTCOLOR, IDC_DEFAULTTEXT},
                              {IDC_BACKCOLOR, IDC_DEFAULTBACK},
                              {IDC_LOADBUTTONS, IDC_DEFAULTBUTTONS},
                              {IDC_LOADBANNER, IDC_DEFAULTBANNER}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column) {
            const int id = pairIds[row][column];
            const char* tooltip = pairs[row][column].second;
            if (!tooltip)
                tooltip = SettingsColourOf(id).tooltip;
            customGrid->addWidget(AddButton(id, pairs[row][column].first, tooltip), row + 1, column);
        }

    auto* options = new QGroupBox("Other Options", this);
    auto* optionList = new QVBoxLayout(options);
    for (const SettingsCheckRow& row : SettingsChecks()) {
        auto* box = new QCheckBox(row.caption, options);
        optionList->addWidget(box);
        BindControl(row.id, box);
        const int id = row.id;
        MapCommand(id, [this, id] { OnCheck(id); });
    }
    optionList->addWidget(
        AddButton(IDC_REPAIRASSOC, "Repair Associations", "Fixes the Quenzario IBG/MBG and QNZ/QNZX associations"));

    auto* graphs = new QGroupBox("Graph and Plotting Colours", this);
    auto* graphGrid = new QGridLayout(graphs);
    int place = 0;
    for (const SettingsColourRow& row : SettingsColours()) {
        if (row.id == IDC_TEXTCOLOR || row.id == IDC_BACKCOLOR)
            continue;
        graphGrid->addWidget(AddButton(row.id, row.caption, row.tooltip), place / 2, place % 2);
        ++place;
    }
    graphGrid->addWidget(AddButton(IDC_ALLDEFAULT, "Set all colors at default", "Sets colours to default"), place / 2,
                         place % 2);

    auto* translucency = new QGroupBox("Translucency", this);
    auto* slider = new QSlider(Qt::Horizontal, translucency);
    slider->setRange(0, kTranslucencySliderMax);
    (new QVBoxLayout(translucency))->addWidget(slider);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton(IDC_SETTINGSHELP, "&Help", "Opens the help document"));
    buttons->addStretch();
    buttons->addWidget(AddButton(IDOK, "&OK", "Closes the window"));
    buttons->addWidget(AddButton(IDC_SETTINGSCANCEL, "&Cancel", "Cancels the window"));

    auto* left = new QVBoxLayout;
    left->addWidget(customisation);
    left->addWidget(options);
    auto* right = new QVBoxLayout;
    right->addWidget(graphs);
    right->addWidget(translucency);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    BindControl(IDC_COLORSCHEME, schemes);
    BindControl(IDC_TRANSLUCENCY, slider);
    MapNotify(IDC_COLORSCHEME, Notify::SelChange, [this] {
        ReadControls();
        m_bChanged = 1;
    });
    connect(slider, &QSlider::valueChanged, this, [this](int position) { OnTranslucency(position); });
    for (const SettingsColourRow& row : SettingsColours()) {
        const int id = row.id;
        MapCommand(id, [this, id] { OnColourButton(id); });
    }
    MapCommand(IDC_DEFAULTTEXT, [this] {
        m_values.colours[IDC_TEXTCOLOR] = 0;
        ShowColours();
    });
    MapCommand(IDC_DEFAULTBACK, [this] {
        m_values.colours[IDC_BACKCOLOR] = m_crButtonFace;
        ShowColours();
    });
    MapCommand(IDC_LOADBUTTONS, [this] { OnLoadSkin(m_values.buttonsSkin, "Select a button template bmp file"); });
    MapCommand(IDC_LOADBANNER, [this] { OnLoadSkin(m_values.bannerSkin, "Select a banner bmp file"); });
    MapCommand(IDC_DEFAULTBUTTONS, [this] { m_values.buttonsSkin = kClearSkin; });
    MapCommand(IDC_DEFAULTBANNER, [this] { m_values.bannerSkin = kClearSkin; });
    MapCommand(IDC_ALLDEFAULT, [this] {
        SetAllColoursToDefault(m_values);
        m_bChanged = 1;
        ShowColours();
    });
    MapCommand(IDC_REPAIRASSOC, [this] { OnRepairAssociations(); });
    MapCommand(IDC_SETTINGSHELP, [this] { OnSettingsHelp(); });
    MapCommand(IDC_SETTINGSCANCEL, [this] { OnCancel(); });
}

CXPStyleButtonST* CSettings::AddButton(int id, const char* caption, const char* tooltip)
{
    auto* button = new CXPStyleButtonST(caption, this);
    m_buttons[id] = button;
    m_tooltips[id] = tooltip;
    BindControl(id, button);
    return button;
}

bool CSettings::OnInitDialog()
{
    m_values = LoadSettingsValues(m_crButtonFace);
    for (const auto& [id, button] : m_buttons) {
        button->SetThemeHelper(&m_ThemeHelper);
        button->SetIconResources(0, BTNST_AUTO_GRAY);
        button->ShiftColor(BTNST_COLOR_BK_IN, 30);
        button->SetTooltipText(m_tooltips[id]);
    }
    if (m_values.translucency < kOpaqueAlpha) {
        setWindowOpacity(m_values.translucency / 255.0);
        show();
    }
    ShowValues();
    return true;
}

void CSettings::ShowValues()
{
    for (const SettingsCheckRow& row : SettingsChecks())
        CheckDlgButton(row.id, m_values.checks[row.id]);
    Item<QComboBox>(IDC_COLORSCHEME)->setCurrentIndex(m_values.colorScheme);
    auto* slider = Item<QSlider>(IDC_TRANSLUCENCY);
    const QSignalBlocker quiet(slider);
    slider->setValue(SliderOfTranslucency(m_values.translucency));
    ShowColours();
}

void CSettings::ShowColours()
{
    for (const SettingsColourRow& row : SettingsColours()) {
        const QImage swatch = Swatch(m_values.colours[row.id]);
        m_buttons.at(row.id)->SetIcons(swatch, swatch);
    }
}

void CSettings::ReadControls()
{
    for (const SettingsCheckRow& row : SettingsChecks())
        m_values.checks[row.id] = IsDlgButtonChecked(row.id) == 1 ? 1 : 0;
    const int scheme = Item<QComboBox>(IDC_COLORSCHEME)->currentIndex();
    m_values.colorScheme = scheme >= 0 && scheme < kColorSchemeCount ? scheme : kDefaultColorScheme;
    m_values.translucency = TranslucencyOfSlider(Item<QSlider>(IDC_TRANSLUCENCY)->value());
}

void CSettings::OnCheck(int id)
{
    m_bChanged = 1;
    ReadControls();
    if (id == IDC_ALLOWLOGGING)
        AppMessageBox("Please restart Quenza for this to have effect.");
    ApplyCheckCoupling(m_values, id);
    for (const SettingsCheckRow& row : SettingsChecks())
        CheckDlgButton(row.id, m_values.checks[row.id]);
}

void CSettings::OnColourButton(int id)
{
    if (id == IDC_GRAPHPI || id == IDC_GRAPHPIF)
        AppMessageBox("Please remember if 'Progressive Colored Scanning' is turned on, it will override this color "
                      "setting");
    if (const auto chosen = ChooseColour(this, m_values.colours[id]))
        m_values.colours[id] = PickedColour(*chosen);
    m_bChanged = 1;
    ShowColours();
}

void CSettings::OnLoadSkin(std::string& path, const char* title)
{
    FileDialogRequest request;
    request.owner = this;
    request.title = title;
    request.filter = SkinImagesFilter();
    request.defaultExtension = "bmp";
    request.folder = m_values.bmpFolder ? *m_values.bmpFolder : GetAppProfileString(kBmpFolderEntry, CurrentFolder());
    const auto answer = GetFileDialogService().GetOpenFileName(request);
    path = answer ? answer->path : std::string();
    if (path.empty())
        return;
    // The folder is remembered with the other values, on OK.
    const auto slash = path.find_last_of('/');
    m_values.bmpFolder = slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

void CSettings::OnTranslucency(int position)
{
    m_values.translucency = TranslucencyOfSlider(position);
    m_bChanged = 1;
    // A preview on this window only.
    setWindowOpacity(m_values.translucency / 255.0);
}

void CSettings::OnRepairAssociations()
{
    CAssociation association;
    AppMessageBox(association.RepairAssociations() ? "Quenzario Associations set successfully"
                                                   : "Quenzario Associations failed.");
}

void CSettings::OnSettingsHelp()
{
    OpenHelpPage("settings.htm");
}

void CSettings::OnOK()
{
    ReadControls();
    if (!SaveSettingsValues(m_values))
        AppMessageBox("The settings could not all be saved in " + GetProfilePath() + ".", "Quenzario",
                      MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDOK);
}

void CSettings::mousePressEvent(QMouseEvent* event)
{
    // A free spot of the dialog drags it.
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    CDialog::mousePressEvent(event);
}
