#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

// Everything that asks the user something in a window of its own: message boxes, file dialogs,
// the colour chooser and popup menus. Windows reach it through ActivePrompts(), so tests answer
// with a script instead of a person.
namespace tavrix::controls {

// Results of a message box, with the values the windows compare against.
enum class PromptResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };

struct MessageBoxRequest {
    QString text;
    QString caption;
    PromptButtons buttons = PromptButtons::Ok;
    PromptResult defaultButton = PromptResult::Ok;
};

// A file dialog. filter uses the "Name (*.a)|*.a|All (*.*)|*.*||" form; the dialog adds
// defaultExtension to a typed name that has none.
struct FileRequest {
    QString filter;
    QString defaultExtension;
    QString initialName;
    QString folder;
    bool overwritePrompt = false; // save dialogs only
};

struct MenuItem {
    int id = 0; // 0 makes a separator
    QString text;
    bool enabled = true;
    bool checked = false;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual PromptResult MessageBox(QWidget* owner, const MessageBoxRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> OpenFileName(QWidget* owner, const FileRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* owner, const FileRequest& request) = 0;
    virtual std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) = 0;
    // The id of the chosen item, or 0 when the menu was dismissed.
    virtual int PopupMenu(QWidget* owner, const QPoint& globalPos, const std::vector<MenuItem>& items) = 0;
};

// The prompts every window uses: the Qt dialogs unless a test installed others.
Prompts& ActivePrompts();
// Makes prompts (not owned) the active ones; nullptr restores the Qt dialogs.
void InstallPrompts(Prompts* prompts);

// "Profiles (*.fwc)|*.fwc|All (*.*)|*.*||" as Qt's name filters: "Profiles (*.fwc)", ...
QStringList NameFiltersFromPattern(const QString& filter);
// path with defaultExtension added when its file name has no extension.
QString WithDefaultExtension(const QString& path, const QString& defaultExtension);

} // namespace tavrix::controls
