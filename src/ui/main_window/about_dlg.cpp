#include "ui/main_window/about_dlg.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "controls/control_id.h"
#include "skin/language.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/lang_text.h"
#include "ui/tray/tray_pictures.h"

namespace tavrix::ui {

CAboutDlg::CAboutDlg(const QString& siteLink, std::function<void()> openHelp)
    : m_intro(new QLabel(this)), m_version(new QLabel(this)), m_copyright(new QLabel(this)),
      m_link(new CHyperLink(kLinkId, this)), m_ok(new QPushButton(this)), m_openHelp(std::move(openHelp))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ApplicationIcon());
    controls::SetDlgCtrlID(*m_intro, kIntroLabelId);
    controls::SetDlgCtrlID(*m_version, kVersionLabelId);
    controls::SetDlgCtrlID(*m_copyright, kCopyrightLabelId);
    controls::SetDlgCtrlID(*m_ok, kOkId);
    m_link->SetLink(siteLink, siteLink);

    // The box takes the size of its texts: each stays on one line, so no language is broken
    // in the middle of a phrase.
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(8);
    layout->addWidget(m_intro);
    layout->addWidget(m_version);
    layout->addWidget(m_copyright);
    layout->addWidget(m_link);
    layout->addWidget(m_ok, 0, Qt::AlignRight);
    connect(m_ok, &QPushButton::clicked, this, [this] { OnCommand(kOkId); });

    SendMessage(this, UM_LANG, kLangTag, skin::GetLanguageIndex());
}

QString CAboutDlg::Version()
{
    return QStringLiteral(TAVRIX_VERSION);
}

bool CAboutDlg::OnCommand(int id)
{
    if (id != kOkId) {
        return false;
    }
    close();
    return true;
}

controls::LParam CAboutDlg::OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    if (message != UM_LANG || wParam != kLangTag) {
        return 0;
    }
    SetTexts(static_cast<int>(lParam));
    return 1;
}

void CAboutDlg::SetTexts(int languageIndex)
{
    setWindowTitle(LangText("LANG_ABOUT_TITLE", languageIndex));
    m_intro->setText(LangText("GUANYU_JIESHAO", languageIndex));
    m_version->setText(LangText("LANG_ABOUT_VERSION", languageIndex) + QLatin1Char(' ') + Version());
    m_copyright->setText(LangText("GUANYU_BANQUAN", languageIndex));
    m_ok->setText(LangText("LANG_ABOUT_OK", languageIndex));
    m_intro->update();
    m_copyright->update();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        if (m_openHelp) {
            m_openHelp();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tavrix::ui
