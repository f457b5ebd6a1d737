#pragma once

#include <QLabel>
#include <QString>

// A label showing a text that opens its address through the shell when clicked.
namespace tavrix::ui {

class CHyperLink : public QLabel {
public:
    CHyperLink(int id, QWidget* parent);

    void SetLink(const QString& text, const QString& address);
    [[nodiscard]] QString Address() const { return m_address; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_address;
};

} // namespace tavrix::ui
