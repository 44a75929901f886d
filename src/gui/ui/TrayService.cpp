#include "gui/ui/TrayService.h"

#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

class SystemTray : public TrayService {
public:
    bool IsAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    bool AddIcon(const TrayIconSetup& setup) override
    {
        RemoveIcon();
        if (!IsAvailable() || setup.icon.isNull())
            return false;
        m_setup = setup;
        m_menu = std::make_unique<QMenu>();
        for (const TrayMenuEntry& entry : setup.menu) {
            const int command = entry.command;
            QObject::connect(m_menu->addAction(QString::fromStdString(entry.text)), &QAction::triggered, m_menu.get(),
                             [this, command] {
                                 if (m_setup.onCommand)
                                     m_setup.onCommand(command);
                             });
        }
        QObject::connect(m_menu.get(), &QMenu::aboutToShow, m_menu.get(), [this] { Tell(TrayEvent::RightButtonUp); });
        m_icon = std::make_unique<QSystemTrayIcon>(QIcon(QPixmap::fromImage(setup.icon)));
        m_icon->setToolTip(QString::fromStdString(setup.tip));
        m_icon->setContextMenu(m_menu.get());
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             Tell(reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick
                                      ? TrayEvent::LeftButtonDown
                                      : TrayEvent::MouseMove);
                         });
        QObject::connect(m_icon.get(), &QSystemTrayIcon::messageClicked, m_icon.get(),
                         [this] { Tell(TrayEvent::MouseMove); });
        m_icon->show();
        return m_icon->isVisible();
    }

    void SetTip(const std::string& tip) override
    {
        if (m_icon)
            m_icon->setToolTip(QString::fromStdString(tip));
    }

    void RemoveIcon() override
    {
        if (m_icon)
            m_icon->hide();
        m_icon.reset();
        m_menu.reset();
    }

    void ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) override
    {
        if (m_icon)
            m_icon->showMessage(QString::fromStdString(title), QString::fromStdString(text),
                                QSystemTrayIcon::Information, timeoutMs);
    }

    // The desktop's notifications go away by their own time-out.
    void ClearBalloon() override {}

private:
    void Tell(TrayEvent event)
    {
        if (m_setup.onEvent)
            m_setup.onEvent(event);
    }

    TrayIconSetup m_setup;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

}  // namespace

std::unique_ptr<TrayService> MakeSystemTray()
{
    return std::make_unique<SystemTray>();
}
