#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "controls/window_message.h"
#include "skin/ini_file.h"

class QWindow;

// The base of every skinned window: a frameless dialog painted with its background picture,
// sized to it, cut to the shape of its mask picture and dragged by any point of its background.
// It is also where the window layer lives: controls by id, clicks as OnCommand, messages posted
// or sent from any thread, timers by id, modal and modeless runs.
namespace tavrix::skin {

// Results a dialog ends with.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

class CBaseDialog : public QDialog, public controls::MessageTarget {
public:
    // skinIniPath: the window's skin file; skinFolder: the folder that holds it, with its
    // trailing slash.
    CBaseDialog(int templateId, QWidget* parent, std::string skinIniPath, std::string skinFolder);
    ~CBaseDialog() override;

    // Runs the window modally: set-up, then shown until EndDialog; returns EndDialog's result.
    int DoModal();
    // Sets the window up without showing it, for a modeless run (show it with show()).
    bool Create();
    void EndDialog(int result);

    [[nodiscard]] QWidget* GetDlgItem(int id) const;
    template <typename Control> [[nodiscard]] Control* GetDlgItem(int id) const
    {
        return dynamic_cast<Control*>(GetDlgItem(id));
    }

    void PostMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam);
    controls::LParam SendMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam);

    // Starts (or restarts) timer id; OnTimer(id) follows every milliseconds until KillTimer.
    void SetTimer(int id, uint32_t milliseconds);
    void KillTimer(int id);

    bool OnCommand(int id) override;
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override;

    [[nodiscard]] const QPixmap& Background() const { return m_background; }
    [[nodiscard]] const QImage& MaskPicture() const { return m_mask; }
    [[nodiscard]] const std::string& SkinIniPath() const { return m_iniFile.FileName(); }
    [[nodiscard]] const std::string& SkinFolder() const { return m_skinFolder; }

    // The picture at path; a window without its pictures cannot be shown, so a missing or
    // undecodable one ends the process quietly with exit code 0.
    [[nodiscard]] static QImage LoadSkinPicture(const std::string& path);

    // Hands a window to the window system's own move; true when the system took it over.
    using SystemMoveHandler = std::function<bool(QWindow& window)>;
    // Replaces how every skinned window starts a system move; an empty handler restores the
    // default.
    static void SetSystemMoveHandler(SystemMoveHandler handler);

protected:
    // Loads, sizes and shapes the window. Derived windows call it first, then make their sheets
    // and place their controls.
    virtual bool OnInitDialog();
    // Releases the pictures and ends the dialog with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnTimer(int id);

    void accept() override;
    void reject() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    CIniFile m_iniFile;

private:
    void SetUpSkin();
    void ReleasePictures();
    void StartWindowMove(const QPoint& pressedAt);

    std::string m_skinFolder;
    QPixmap m_background;
    QImage m_mask;
    bool m_initialised = false;
    std::map<int, int> m_timers;        // timer id → Qt's timer id
    std::optional<QPoint> m_pressedAt;  // global point of a press on the background
    std::optional<QPoint> m_dragOffset; // set while the window follows the mouse itself
};

} // namespace tavrix::skin
