#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "controls/window_message.h"
#include "ui/main_window/hyper_link.h"

// The about box: what the program is, the copyright, and the site link. Modeless; the main
// window keeps at most one.
namespace tavrix::ui {

class CAboutDlg : public QDialog, public controls::MessageTarget {
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kIntroLabelId = 1206;
    static constexpr int kCopyrightLabelId = 1205;
    static constexpr int kLinkId = 1124;
    static constexpr int kVersionLabelId = 1134;
    static constexpr int kOkId = 1;

    // siteLink: shown and opened by the link; openHelp: what F1 does.
    CAboutDlg(const QString& siteLink, std::function<void()> openHelp);

    // The version the program was built as ("0.1").
    [[nodiscard]] static QString Version();

    bool OnCommand(int id) override;
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetTexts(int languageIndex);

    QLabel* m_intro;
    QLabel* m_version;
    QLabel* m_copyright;
    CHyperLink* m_link;
    QPushButton* m_ok;
    std::function<void()> m_openHelp;
};

} // namespace tavrix::ui
