#include "skin/base_dialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWindow>
#include <cstdlib>

#include "controls/control_id.h"
#include "platform/clock.h"
#include "skin/mask_region.h"
#include "skin/state_sheet.h"

namespace tavrix::skin {

namespace {

// White pixels of the mask are outside the window.
const QColor kMaskTransparent(255, 255, 255);
const QColor kMaskTolerance(0, 0, 0);

bool StartSystemMove(QWindow& window)
{
    return window.startSystemMove();
}

CBaseDialog::SystemMoveHandler& MoveHandler()
{
    static CBaseDialog::SystemMoveHandler handler = StartSystemMove;
    return handler;
}

} // namespace

void CBaseDialog::SetSystemMoveHandler(SystemMoveHandler handler)
{
    MoveHandler() = handler ? std::move(handler) : StartSystemMove;
}

CBaseDialog::CBaseDialog(int, QWidget* parent, std::string skinIniPath, std::string skinFolder)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_skinFolder(std::move(skinFolder))
{
    m_iniFile.SetFileName(skinIniPath);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CBaseDialog::~CBaseDialog() = default;

int CBaseDialog::DoModal()
{
    if (!Create()) {
        return -1;
    }
    return exec();
}

bool CBaseDialog::Create()
{
    if (m_initialised) {
        return true;
    }
    m_initialised = true;
    return OnInitDialog();
}

void CBaseDialog::EndDialog(int result)
{
    done(result);
}

QWidget* CBaseDialog::GetDlgItem(int id) const
{
    return controls::FindDlgItem(*this, id);
}

void CBaseDialog::PostMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    controls::PostMessage(this, message, wParam, lParam);
}

controls::LParam CBaseDialog::SendMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    return controls::SendMessage(this, message, wParam, lParam);
}

void CBaseDialog::SetTimer(int id, uint32_t milliseconds)
{
    KillTimer(id);
    m_timers[id] = startTimer(platform::TimerIntervalMs(milliseconds));
}

void CBaseDialog::KillTimer(int id)
{
    const auto timer = m_timers.find(id);
    if (timer == m_timers.end()) {
        return;
    }
    killTimer(timer->second);
    m_timers.erase(timer);
}

bool CBaseDialog::OnCommand(int)
{
    return false;
}

controls::LParam CBaseDialog::OnMessage(uint32_t, controls::WParam, controls::LParam)
{
    return 0;
}

QImage CBaseDialog::LoadSkinPicture(const std::string& path)
{
    QImage picture(QString::fromStdString(path));
    if (picture.isNull()) {
        std::_Exit(0);
    }
    return picture;
}

bool CBaseDialog::OnInitDialog()
{
    SetUpSkin();
    return true;
}

void CBaseDialog::OnOK()
{
    ReleasePictures();
    EndDialog(IDOK);
}

void CBaseDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CBaseDialog::OnTimer(int)
{
}

void CBaseDialog::accept()
{
    OnOK();
}

void CBaseDialog::reject()
{
    OnCancel();
}

void CBaseDialog::paintEvent(QPaintEvent*)
{
    if (m_background.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    m_pressedAt.reset();
    m_dragOffset.reset();
    // A press that a control let through (a label, a disabled button) is still the control's:
    // only the background moves the window.
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr) {
        m_pressedAt = event->globalPosition().toPoint();
    }
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        m_pressedAt.reset();
        m_dragOffset.reset();
        QDialog::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->globalPosition().toPoint();
    if (m_dragOffset) {
        move(at - *m_dragOffset);
        return;
    }
    // A click trembles by a pixel or two: the move starts only once the mouse clearly travels.
    if (m_pressedAt && (at - *m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
        StartWindowMove(at);
    }
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressedAt.reset();
    m_dragOffset.reset();
    QDialog::mouseReleaseEvent(event);
}

void CBaseDialog::StartWindowMove(const QPoint& at)
{
    const QPoint pressedAt = *m_pressedAt;
    m_pressedAt.reset();
    QWindow* window = windowHandle();
    if (window != nullptr && MoveHandler()(*window)) {
        return;
    }
    // Without the window system's own move the window follows the mouse itself.
    m_dragOffset = pressedAt - pos();
    move(at - *m_dragOffset);
}

void CBaseDialog::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

void CBaseDialog::SetUpSkin()
{
    const std::string main = m_iniFile.ReadString("SCREEN", "Main", "").value_or("");
    const std::string mask = m_iniFile.ReadString("SCREEN", "Mask", main).value_or("");
    m_background = QPixmap::fromImage(LoadSkinPicture(JoinSkinPath(m_skinFolder, main)));
    m_mask = LoadSkinPicture(JoinSkinPath(m_skinFolder, mask));

    setFixedSize(m_background.size());
    // An all-white mask cuts nothing: the window stays rectangular.
    const std::optional<QRegion> region = MakeRegionFromMask(m_mask, kMaskTransparent, kMaskTolerance);
    if (region && !region->isEmpty()) {
        setMask(*region);
    }
}

void CBaseDialog::ReleasePictures()
{
    m_background = QPixmap();
    m_mask = QImage();
}

} // namespace tavrix::skin
