#pragma once
// The dialog component: a non-visual part of the window that holds the settings of the file
// and font dialogs it shows on request, and keeps the user's last choice in them.

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

namespace lusheng::app {

enum class DialogKind { OpenFile = 0, SaveFile = 1, Font = 2, Help = 3 };

// Values outside 0..3 are clamped into that range.
DialogKind dialogKindFromValue(int value);

struct FileFilter {
    QString description;
    QString pattern;
    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// "desc|pattern|desc|pattern": trailing white space removed, "||" appended unless already
// there, then split at each bar into pairs; the list ends at the first empty description.
// An empty filter gives no pairs.
QList<FileFilter> parseFileFilter(const QString& filter);

struct FontSettings {
    QColor colour = Qt::black;
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    bool underline = false;
    QString name;
    int pointSize = 0; // 0: the dialog's own choice
    friend bool operator==(const FontSettings&, const FontSettings&) = default;
};

class CommonDlg : public QObject {
    Q_OBJECT
  public:
    explicit CommonDlg(QObject* parent = nullptr) : QObject(parent) {}

    DialogKind kind = DialogKind::OpenFile;
    QString title;
    // After a confirmed file dialog, the full path chosen; a preset for the next one.
    QString fileName;
    QString filter;
    int initialFilter = 0; // a negative value counts as 0
    QString initialDirectory;
    QString defaultExtension;
    bool createPrompt = false;
    bool fileMustExist = true;
    bool overwritePrompt = true;
    bool pathMustExist = true;
    bool keepDirectory = false;
    FontSettings font;

    void setKind(int value) { kind = dialogKindFromValue(value); }
    QList<FileFilter> filters() const { return parseFileFilter(filter); }
    int initialFilterIndex() const { return std::max(0, initialFilter); }
};

} // namespace lusheng::app
