#pragma once

#include <QComboBox>

// A drop-down list whose choice changes only when the user picks an entry from its open list.
// Its owner acts on every choice at once (the lighting panel writes it to the keyboard), so a
// wheel turn over the closed list, Home, End, the arrows or typing must not step through the
// entries: they only open the list (F4, Alt+Down, Space) or go past it.
namespace tavrix::controls {

class CDropList : public QComboBox {
public:
    CDropList(int id, QWidget* parent);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

} // namespace tavrix::controls
