#include "ui/main_window/progress_picture.h"

#include "controls/control_id.h"

namespace tavrix::ui {

ProgressPicture::ProgressPicture(QWidget* parent, const std::string& skinFolder) : QLabel(parent)
{
    controls::SetDlgCtrlID(*this, kId);
    for (std::size_t i = 0; i < kFrameCount; ++i) {
        // A missing frame is drawn as nothing; the apply works without its animation.
        m_frames[i].load(QString::fromStdString(skinFolder + "jdt" + std::to_string(i + 1) + ".bmp"));
    }
    setScaledContents(true);
    setPixmap(m_frames[0]);
    hide();
}

void ProgressPicture::Start()
{
    m_frame = 0;
    setPixmap(m_frames[m_frame]);
    show();
    raise();
}

void ProgressPicture::Advance()
{
    m_frame = (m_frame + 1) % kFrameCount;
    setPixmap(m_frames[m_frame]);
}

} // namespace tavrix::ui
