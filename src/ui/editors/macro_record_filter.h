#pragma once

#include <QObject>
#include <QTimer>

#include "ui/editors/macro_recorder.h"

// While the macro page records, an application-wide event filter that takes key strokes (kept
// from the program's controls) and left, right and middle button presses and releases on the
// program's windows (passed on) as actions.
namespace tavrix::ui {

class MacroRecordFilter : public QObject {
public:
    explicit MacroRecordFilter(MacroRecorder::Sink sink);
    ~MacroRecordFilter() override;

    // Starts recording: the pauses are measured from now.
    void Start();
    // Stops recording; a release that waited is recorded first.
    void Stop();
    [[nodiscard]] bool IsStarted() const { return m_started; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnMouseButton(const QEvent& event);

    MacroRecorder m_recorder;
    // Records a waiting release once no repeat's press followed it.
    QTimer m_flush;
    bool m_started = false;
};

} // namespace tavrix::ui
