#include "ui/tray/tray_icon.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <QWidget>

#include "controls/window_message.h"
#include "ui/tray/tray_pictures.h"

namespace tavrix::ui {

namespace {

const std::vector<TrayMenuItem>& MenuItems()
{
    static const std::vector<TrayMenuItem> kItems{
        {kTrayCommandOpen, QStringLiteral("Open")},
        {kTrayCommandAbout, QStringLiteral("About")},
        {kTrayCommandExit, QStringLiteral("Exit")},
    };
    return kItems;
}

} // namespace

CTrayIcon::CTrayIcon() : m_menu(std::make_unique<QMenu>())
{
    for (const TrayMenuItem& item : MenuItems()) {
        QAction* action = m_menu->addAction(item.text);
        action->setData(item.id);
        connect(action, &QAction::triggered, this, [this, id = item.id] { SendCommand(id); });
    }
    m_menu->setDefaultAction(m_menu->actions().front());
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { PreparedMenu(); });
}

CTrayIcon::~CTrayIcon()
{
    Delete();
}

bool CTrayIcon::Create(QWidget* owner, const QString& tooltip, int iconResource, int iconId)
{
    if (owner == nullptr) {
        return false;
    }
    m_owner = owner;
    m_iconId = iconId;
    m_iconResource = iconResource;
    m_tooltip = tooltip.left(kTrayTooltipLength);
    m_icon = std::make_unique<QSystemTrayIcon>(TrayIconPicture(iconResource));
    m_icon->setToolTip(m_tooltip);
    // The desktop shows the menu itself on a right click; only the other clicks come here.
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
    // On X11 the icon is shown even while the desktop has no notification area: the platform
    // watches for a panel taking the tray selection and puts the icon there as soon as one does.
    const bool trayNow = QSystemTrayIcon::isSystemTrayAvailable();
    if (trayNow || QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_icon->show();
    }
    m_installed = true;
    return trayNow;
}

bool CTrayIcon::SetIcon(int iconResource)
{
    m_iconResource = iconResource;
    if (!m_installed) {
        return false;
    }
    // The picture belongs to the icon's thread; other threads hand the change over.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_icon) {
                m_icon->setIcon(TrayIconPicture(m_iconResource));
            }
        },
        Qt::AutoConnection);
    return true;
}

void CTrayIcon::Delete()
{
    if (!m_installed) {
        return;
    }
    m_installed = false;
    m_icon->hide();
    m_icon.reset();
}

int CTrayIcon::OnTrayNotification(int iconId, uint32_t mouseMessage)
{
    if (iconId != m_iconId || m_owner == nullptr) {
        return 0;
    }
    if (mouseMessage == kTrayRightButtonUp) {
        m_owner->activateWindow();
        PreparedMenu().popup(QCursor::pos());
    } else if (mouseMessage == kTrayLeftDoubleClick) {
        m_owner->activateWindow();
        SendCommand(m_menu->actions().front()->data().toInt());
    }
    return 1;
}

QMenu& CTrayIcon::PreparedMenu()
{
    std::vector<TrayMenuItem> items = MenuItems();
    if (m_menuCallback) {
        m_menuCallback(items);
    }
    const QList<QAction*> actions = m_menu->actions();
    for (qsizetype i = 0; i < actions.size() && i < static_cast<qsizetype>(items.size()); ++i) {
        actions[i]->setText(items[static_cast<size_t>(i)].text);
    }
    return *m_menu;
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick) {
        OnTrayNotification(m_iconId, kTrayLeftDoubleClick);
    } else if (reason == QSystemTrayIcon::Trigger) {
        OnTrayNotification(m_iconId, kTrayLeftButtonUp);
    }
}

void CTrayIcon::SendCommand(int id)
{
    if (m_owner == nullptr) {
        return;
    }
    controls::SendMessage(m_owner, controls::WM_COMMAND, static_cast<controls::WParam>(id), 0);
}

} // namespace tavrix::ui
