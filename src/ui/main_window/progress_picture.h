#pragma once

#include <QLabel>
#include <QPixmap>
#include <array>
#include <string>

// The picture that turns while the configuration is written to the keyboard: ten frames,
// "jdt1.bmp" to "jdt10.bmp" in the skin folder, shown in turn.
namespace tavrix::ui {

class ProgressPicture : public QLabel {
public:
    static constexpr int kId = 1177;
    static constexpr std::size_t kFrameCount = 10;

    ProgressPicture(QWidget* parent, const std::string& skinFolder);

    // Shows the first frame.
    void Start();
    // Shows the next frame, after the tenth the first.
    void Advance();
    [[nodiscard]] std::size_t Frame() const { return m_frame; }

private:
    std::array<QPixmap, kFrameCount> m_frames;
    std::size_t m_frame = 0;
};

} // namespace tavrix::ui
