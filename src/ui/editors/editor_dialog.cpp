#include "ui/editors/editor_dialog.h"

namespace tavrix::ui {

int CEditorDialog::Open()
{
    if (IsRunning()) {
        raise();
        activateWindow();
        return -1;
    }
    OnInitDialog();
    return exec();
}

bool CEditorDialog::OnInitDialog()
{
    skin::CBaseDialog::OnInitDialog();
    m_running = true;
    if (!m_controlsMade) {
        MakeControls();
        m_controlsMade = true;
    }
    return true;
}

void CEditorDialog::Close(int result)
{
    if (!IsRunning()) {
        return;
    }
    m_running = false;
    EndDialog(result);
}

} // namespace tavrix::ui
