#pragma once

#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <atomic>
#include <functional>
#include <memory>

class QWidget;

// The program's one notification-area icon. Its mouse events become the owner window's
// commands: a right click shows menu 140, a double click sends the menu's default command.
namespace tavrix::ui {

// Mouse events of the icon, with the values a notification carries.
inline constexpr uint32_t kTrayLeftButtonUp = 0x0202;
inline constexpr uint32_t kTrayLeftDoubleClick = 0x0203;
inline constexpr uint32_t kTrayRightButtonUp = 0x0205;

// The icon's menu (id 140) and its items.
inline constexpr int kTrayMenuId = 140;
inline constexpr int kTrayCommandOpen = 32771;
inline constexpr int kTrayCommandAbout = 32773;
inline constexpr int kTrayCommandExit = 32774;

// Tooltips are cut to this many characters.
inline constexpr int kTrayTooltipLength = 127;

struct TrayMenuItem {
    int id;
    QString text;
};

class CTrayIcon : public QObject {
public:
    // Relabels the menu's items before it is shown.
    using MenuCallback = std::function<void(std::vector<TrayMenuItem>& items)>;

    CTrayIcon();
    ~CTrayIcon() override;

    // Adds the icon for owner (a MessageTarget window): true when the desktop has a notification
    // area now. Without one the icon is kept ready and appears as soon as a panel brings one (a
    // panel started after the program); until then the program is reached by starting it again.
    bool Create(QWidget* owner, const QString& tooltip, int iconResource, int iconId);
    // Changes the picture; safe from any thread. False when the icon is not installed.
    bool SetIcon(int iconResource);
    void SetMenuCallback(MenuCallback callback) { m_menuCallback = std::move(callback); }
    // Removes the icon when it is installed.
    void Delete();
    // A mouse event on icon iconId; 1 when handled (every event of its own icon), 0 otherwise.
    virtual int OnTrayNotification(int iconId, uint32_t mouseMessage);

    [[nodiscard]] bool IsInstalled() const { return m_installed; }
    // The picture last set, whether or not the icon is installed.
    [[nodiscard]] int IconResource() const { return m_iconResource; }
    [[nodiscard]] QString Tooltip() const { return m_tooltip; }
    // The menu as the right click shows it, relabelled by the callback.
    QMenu& PreparedMenu();

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void SendCommand(int id);

    QWidget* m_owner = nullptr;
    int m_iconId = 0;
    std::atomic<int> m_iconResource{0};
    std::atomic<bool> m_installed{false};
    QString m_tooltip;
    MenuCallback m_menuCallback;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace tavrix::ui
